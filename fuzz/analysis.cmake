# Fuzz targets of the content analysis readers.
quorvane_fuzzer(fuzz_mp3 QuorvaneSDK)
quorvane_fuzzer(fuzz_thumbnail QuorvaneSDK)
