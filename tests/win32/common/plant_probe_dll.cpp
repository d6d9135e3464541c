// A DLL that tells which copy of it was loaded: one copy is planted beside
// the test program, one put in the system folder, both under the same name.
extern "C" __declspec(dllexport) int KorvanePlantProbe() { return KORVANE_PROBE_COPY; }
