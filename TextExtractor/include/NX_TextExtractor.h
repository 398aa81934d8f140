#pragma once
// Umbrella header of the NX_TextExtractor library.
