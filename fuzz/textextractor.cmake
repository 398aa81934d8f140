# Fuzz targets of the text extraction library.
quorvane_fuzzer(fuzz_filetype_words NX_TextExtractor)
quorvane_fuzzer(fuzz_doc_reader NX_TextExtractor)
