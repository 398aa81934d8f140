# Fuzz targets of the text extraction library. Build and run, for example:
#   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DQUORVANE_FUZZ=ON -DQUORVANE_BUILD_TESTS=OFF
#   cmake --build build-fuzz --target fuzz_doc_reader fuzz_filetype_words
#   mkdir -p corpus/doc && build-fuzz/fuzz/fuzz_doc_reader -max_total_time=300 -max_len=16384 \
#       corpus/doc tests/TextExtractor/fixtures
#   mkdir -p corpus/words && build-fuzz/fuzz/fuzz_filetype_words -max_total_time=300 corpus/words
quorvane_fuzzer(fuzz_filetype_words NX_TextExtractor)
quorvane_fuzzer(fuzz_doc_reader NX_TextExtractor)
