#pragma once

#include <cstddef>
#include <string>

#include "common/textfile.h"
#include "pricefile/acceptance.h"

namespace aurelant {

// Open's reading of a history file and its rewrite to its record lines, under the file's lock
// (which Add Latest takes too). A file that holds nothing but its records, each ended by CR LF,
// is never written.
class Normalisation {
  public:
    // Locks the file, reads it and judges it as every reader does.
    Normalisation(const std::string& path, bool localeDayFirst);

    const Acceptance& acceptance() const { return acceptance_; }
    std::size_t count() const { return acceptance_.recordCount; }

    // Replaces the file by its records; throws AppError for a file the prediction would refuse (a
    // price that is not one, say), leaving it as it is. A file that changed since it was read (an
    // outside program appending, say) is read again, up to three times; when it keeps changing, is
    // judged otherwise, or its new count lies outside [fewest, most], throws AppError and leaves
    // the file as it is.
    void commit(std::size_t fewest, std::size_t most);

  private:
    void read();
    bool replace();

    std::string path_;
    bool localeDayFirst_;
    FileLock lock_;
    FileStamp stamp_;
    std::string text_;
    Acceptance acceptance_;
};

}  // namespace aurelant
