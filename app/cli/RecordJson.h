#pragma once
// The SDK records as JSON objects, with the field names the records use.

#include "foundation/Records.h"

#include <QJsonObject>

namespace QuorvaneCli {

// "yyyy-MM-ddTHH:mm:ss" local time; "" for the null date.
QString dateText(const QuorvaneSDK::Date& date);
QJsonObject mediaJson(const QuorvaneSDK::Media& media, bool withStatistics);
QJsonObject fileJson(const QuorvaneSDK::FileQuorvane& file);
QJsonObject containedJson(const QuorvaneSDK::FileQuorvaneCompressed& entry);

} // namespace QuorvaneCli
