// A shared library that is not a skin library: it has no SkinH_AttachRes.
extern "C" __attribute__((visibility("default"))) int NotASkinLibrary() { return 0; }
