#pragma once

// The catalogue file of a fresh installation.
namespace QuorvaneSDK {

class Database;

// On the SQLite catalogue, when the configured path is the default one
// (<base>/Database/Dati.sqlite) and no file is there, creates the empty
// catalogue file, so that a fresh machine can connect and upgrade. A
// missing file anywhere else is left missing: a moved or mistyped catalogue
// must fail clearly, not be replaced by an empty one. True when it created
// the file.
bool createDefaultCatalogueIfMissing(Database& database);

} // namespace QuorvaneSDK
