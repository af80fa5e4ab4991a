// Under the leak checker, libraries that SDL loads at run time (the GL driver, D-Bus) stay
// loaded until the process ends: the leak report taken at exit can then name the library a
// block came from, so that tests/sanitizer/lsan.supp can suppress it by name. Unloaded, its
// frames would show as "<unknown module>".
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VARDEL_KEEP_LIBRARIES_LOADED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define VARDEL_KEEP_LIBRARIES_LOADED 1
#endif

#ifdef VARDEL_KEEP_LIBRARIES_LOADED
extern "C" int dlclose(void*) {
    return 0;
}
#endif
