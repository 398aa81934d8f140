#pragma once
// Names of the ID3v1 genre numbers as the catalogue stores them.

#include <QString>

namespace QuorvaneSDK::Analysis {

// 0..147 give the catalogue's name; any other number gives "Unknown".
QString id3GenreName(int number);

} // namespace QuorvaneSDK::Analysis
