#include "foundation/Istanza.h"

#include "foundation/Database.h"
#include "foundation/Startup.h"

namespace QuorvaneSDK {

Istanza::Istanza() {
    ensureSdkStarted();
}

IstanzaSoftware Istanza::get_Istanza(const QString&) const {
    return IstanzaSoftware{};
}

bool Istanza::exist(const QString& Istanza) {
    const std::optional<Recordset> rs = Database::current().get_Recordset(
        QStringLiteral("SELECT ID FROM Istanze WHERE Identita = '") +
            Database::CorreggiApice(Istanza) + u'\'',
        QStringLiteral("QuorvaneSDK.Istanza.exist"));
    return rs && rs->RecordCount() > 0;
}

bool Istanza::set_Istanza(const QString&) {
    return true;
}

QString Istanza::get_IstanzaLocale() const {
    return QString();
}

void Istanza::Delete_ALL() {
    Database::current().execute_Sql(QStringLiteral("DELETE FROM Istanze"),
                                    QStringLiteral("QuorvaneSDK.Istanza.Delete_ALL"), false, 0);
}

} // namespace QuorvaneSDK
