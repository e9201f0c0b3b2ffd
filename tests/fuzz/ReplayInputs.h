// The replay of fuzzing's findings kept under tests/data/fuzz/<Target>/:
// every kept input must load or be refused cleanly, without breaking a
// promise of its reader. The sanitizer build (./build.sh sanitize) also
// checks that none of them leaks, overflows or reads out of bounds again.
#pragma once

#include "FuzzSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <exception>
#include <initializer_list>
#include <string>

namespace fuzz {

struct ReplayTarget {
    const char* name;
    bool (*run)(const std::string& bytes);
};

// Replays every file of each target's folder; returns how many there were.
inline int ReplayAll(const QString& dataDir, std::initializer_list<ReplayTarget> targets)
{
    int replayed = 0;
    for (const ReplayTarget& target : targets) {
        const QDir dir(dataDir + QStringLiteral("/fuzz/") + QString::fromLatin1(target.name));
        for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
            QFile file(dir.filePath(name));
            if (!file.open(QIODevice::ReadOnly)) {
                ADD_FAILURE() << "cannot read " << qPrintable(file.fileName());
                continue;
            }
            const QByteArray bytes = file.readAll();
            SCOPED_TRACE(std::string(target.name) + "/" + name.toStdString());
            try {
                target.run(std::string(bytes.constData(), std::size_t(bytes.size())));
            } catch (const std::exception& e) {
                ADD_FAILURE() << "threw: " << e.what();
            }
            ++replayed;
        }
    }
    return replayed;
}

} // namespace fuzz
