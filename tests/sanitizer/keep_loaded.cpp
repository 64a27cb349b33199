// Preloaded into the sanitizer test runs only. A leak report can name a library only while it
// is loaded, and the GL driver is unloaded on the way out: its leftovers would show as
// "<unknown module>", indistinguishable from the project's own. With dlclose doing nothing,
// every library stays loaded, so the suppressions can name the driver and the X libraries
// and nothing else.
extern "C" int dlclose(void*) {
  return 0;
}
