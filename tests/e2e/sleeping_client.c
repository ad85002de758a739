/* A stand-in for the client's launcher: a Windows program that only waits, so that a test
   can find it running. It ends by itself should the test fail to stop it. */
#include <windows.h>

int main(void) {
    Sleep(120000);
    return 0;
}
