// Placeholder until the extractor lands.
