#pragma once
// The SDK's one-time start-up. It runs on the first creation of a Database,
// Misc, Istanza or Encryption object (their constructors call
// ensureSdkStarted()): it creates the SDK's own message listener and applies
// the stored connection settings to the current database.

namespace QuorvaneSDK {

class Database;

// Runs the start-up once per process; later calls (and calls made while it
// runs) return at once.
void ensureSdkStarted();

// True once the start-up has run (or is running).
bool sdkStarted();

// Applies the connection settings kept in Database.ini to the database
// (defined in foundation/StoredConnectionSettings.cpp).
void applyStoredConnectionSettings(Database& database);

} // namespace QuorvaneSDK
