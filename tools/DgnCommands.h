#pragma once

#include <QString>

#include <ostream>
#include <string>
#include <vector>

namespace orvx::tools {

// orvx-dgn's exit statuses.
enum ExitStatus : int {
    kExitOk = 0,
    kExitProblems = 1,  // the reader passed over part of the file: a damaged record, text outside any record
    kExitFailure = 2,   // bad usage, a file that cannot be read or written, a record that is not there
};

const char* dgnVersion();

// The whole program: the arguments after the program's name; answers the exit status.
int runDgn(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The subcommands. Messages name the file as `path` was given; records are numbered from 1.
int listRecords(const QString& path, std::ostream& out, std::ostream& err);
int showRecord(const QString& path, int number, std::ostream& out, std::ostream& err);
// Writes the curves as CSV to `outPath`, whole or not at all, or to out when it is empty.
int exportCsv(const QString& path, int number, const QString& outPath, std::ostream& out, std::ostream& err);
int checkFile(const QString& path, std::ostream& out, std::ostream& err);
// Keeps every complete record of the file in the plant store at `storeAddress`, each once.
int importRecords(const QString& path, const QString& storeAddress, std::ostream& out, std::ostream& err);

}  // namespace orvx::tools
