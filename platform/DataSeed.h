#pragma once

#include <QString>

// A first start on a machine where the program was installed: the data folder is made from the
// installed copy. Nothing happens when the folder already has its bank (515) or there is no
// installed copy; a file the folder has is never overwritten. The copy is made in a temporary
// folder beside the data folder and its files are then moved in one by one, the bank last, so a
// copy cut short never leaves a folder that looks complete. Returns false on a failure, with the
// reason in *error.
bool SeedDataFolder(const QString& installedDir, const QString& dataDir, QString* error = nullptr);

// The bank's file name in a data folder.
inline const QString kBankFileName = QStringLiteral("515");
