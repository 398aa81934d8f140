#pragma once
// Umbrella header of the NX_TextExtractor library: file types, text and words.

#include "NX_TextExtractor/Extractor.h"
#include "NX_TextExtractor/Types.h"
#include "NX_TextExtractor/Windows1252.h"
#include "NX_TextExtractor/WordDocumentReader.h"
