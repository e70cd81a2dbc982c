#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "common/textfile.h"
#include "pricefile/historyformat.h"
#include "pricefile/layoutcheck.h"

namespace aurelant {

// Open's rewrite of a history file to its record lines, under the file's lock (which Add Latest
// takes too). A file that holds nothing but its records, each ended by CR LF, is never written. A
// line longer than any record throws AppError: it is never dropped.
class Normalisation {
  public:
    // Locks the file and counts its records.
    explicit Normalisation(const std::string& path);

    std::size_t count() const { return count_; }
    // Whether the lines read confirm the program's own layout.
    bool ownLayoutConfirmed() const { return check_.confirmed(); }

    // Replaces the file by its records; throws AppError for a file the prediction would refuse (a
    // price that is not one, say), leaving it as it is. A file that changed since it was read (an
    // outside program appending, say) is read again, up to three times; when it keeps changing, or
    // its new count lies outside [fewest, most], throws AppError and leaves the file as it is.
    void commit(std::size_t fewest, std::size_t most);

  private:
    void read();
    bool replace();

    std::string path_;
    FileLock lock_;
    FileStamp stamp_;
    std::size_t count_ = 0;
    bool onlyRecords_ = false;
    std::vector<std::size_t> notRecords_;  // the numbers (from 0) of the lines that are not records
    LayoutCheck check_;
    RecordCheck records_;  // whether the prediction would read them
};

}  // namespace aurelant
