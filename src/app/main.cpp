// Zonvex: re-points a client installation at a test zone or back at the live servers.
#include "app/run.h"

int main(int argc, char** argv) { return zonvex::RunZonvex(argc, argv); }
