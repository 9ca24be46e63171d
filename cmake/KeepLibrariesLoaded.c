/* Linked into sanitizer builds only: dlclose leaves every shared library mapped.
 * Mesa's DRI driver does not free everything it allocates before GLX unloads it
 * (about 240 bytes); once the driver is unmapped, the only pointers to those
 * blocks are gone and LeakSanitizer reports them as the program's leaks, with
 * frames it can no longer name. Kept mapped, they stay reachable from the
 * driver's data, and a leak that is reported is a real one. */
int dlclose(void* handle) {
  (void)handle;
  return 0;
}
