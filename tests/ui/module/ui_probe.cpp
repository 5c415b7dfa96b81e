// ui_probe.cpp - a module file that carries its own resource script (module/ui_probe.rc), for
// the tests of loading resources from a module other than the host program.
extern "C" int uiProbeModuleLoaded() { return 1; }
