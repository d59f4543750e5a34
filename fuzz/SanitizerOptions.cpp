// Address-sanitizer defaults of the fuzz targets (ASAN_OPTIONS still overrides them). The engines
// allocate a small vector per curve sample, and filling each new block with garbage and keeping
// 256 MB of freed blocks in quarantine took most of the fuzzers' time; neither weakens the checks
// for overflows, and use after free is still caught within the last 32 MB freed.
extern "C" const char *__asan_default_options()
{
    return "max_malloc_fill_size=0:quarantine_size_mb=32";
}
