// Under the leak checker, libraries that SDL loads at run time (the GL driver, D-Bus) stay
// loaded until exit, so that the leak report names them and tests/sanitizer/lsan.supp can
// suppress their blocks by library name instead of "<unknown module>".
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VARDEL_KEEP_LIBRARIES_LOADED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(VARDEL_KEEP_LIBRARIES_LOADED)
extern "C" int dlclose(void*) {
    return 0;
}
#endif
