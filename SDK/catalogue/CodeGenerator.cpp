#include "catalogue/CodeGenerator.h"

#include "catalogue/CatalogueSql.h"
#include "foundation/Errors.h"

namespace QuorvaneSDK {

namespace {

std::mt19937_64 seededEngine() {
    std::random_device device;
    std::seed_seq seed{device(), device(), device(), device(), device(), device()};
    return std::mt19937_64(seed);
}

QString existsSql(const QString& code, Item item) {
    using CatalogueSql::quoted;
    if (item == Item::File)
        return QStringLiteral("select FileEan13 from Files WHERE FileEan13 = ") + quoted(code);
    return QStringLiteral("select MediaEan13 from Media WHERE MediaEan13 = ") + quoted(code);
}

} // namespace

CodeGenerator::CodeGenerator(std::function<void(const QString&)> raiseError)
    : m_raiseError(std::move(raiseError)), m_engine(seededEngine()) {
}

QString CodeGenerator::candidate() {
    // Uniform over every 13-digit number whose first digit is 1-9.
    std::uniform_int_distribution<qint64> digits(1000000000000LL, 9999999999999LL);
    return QString::number(digits(m_engine));
}

QString CodeGenerator::get_EAN13(Item TypeItem) {
    for (;;) {
        const QString code = candidate();
        if (!exists_EAN13(code, TypeItem))
            return code;
    }
}

bool CodeGenerator::exists_EAN13(const QString& Code, Item TypeItem) {
    if (TypeItem != Item::Media && TypeItem != Item::File)
        return false;
    const std::optional<Recordset> rs = CatalogueSql::db().get_Recordset(
        existsSql(Code, TypeItem), QStringLiteral("QuorvaneSDK.exists_EAN13"));
    if (!rs) {
        // The code then counts as free, as the check could not be made.
        m_raiseError(Errors::shared().get_LastError().Description + QStringLiteral("\r\n") +
                     QStringLiteral("exists_EAN13"));
        return false;
    }
    return rs->RecordCount() > 0;
}

} // namespace QuorvaneSDK
