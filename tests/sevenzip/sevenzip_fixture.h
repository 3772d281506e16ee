#pragma once
// Shared pieces of the archive component's tests: a component in a
// temporary folder that records its messages and events, and the real 7z
// command line for cross-checks.

#include "safekeep/sevenzip/sevenzip.h"
#include "tests/support/qt_printers.h"
#include "tests/support/temp_folder.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <vector>

namespace safekeep::test {

struct CliResult {
    int exitCode = -1;
    QString output;
};

// Runs the 7z command line (stdout and stderr together).
CliResult RunCli(const QStringList& arguments);
// The "Key = value" lines of `7z l -slt` for each item, in archive order.
std::vector<QMap<QString, QString>> CliItems(const QString& archive, const QString& password = QString());

// size bytes of text-like data that compress well; seed varies the text.
QByteArray TextData(qsizetype size, quint32 seed);
// size bytes that do not compress.
QByteArray RandomData(qsizetype size, quint32 seed);

struct Message {
    int code;
    QString text;
    QString fileName;
};

class SevenZipTest : public ::testing::Test {
protected:
    SevenZipTest();

    QString Path(const QString& name) const { return folder.File(name); }
    // Writes a file below the temporary folder, creating its folders.
    QString WriteFile(const QString& name, const QByteArray& bytes) const;
    QByteArray ReadFile(const QString& name) const;
    // Names of the entries of a folder below the temporary folder (all
    // entries, hidden ones too), sorted.
    QStringList Entries(const QString& name) const;

    tk::test::TempFolder folder;
    std::unique_ptr<TSevenZip> zip;
    std::vector<Message> messages;
};

}  // namespace safekeep::test
