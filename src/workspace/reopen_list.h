// The most recently opened files, newest first, as the File menu offers them again.
#pragma once

#include <string>
#include <vector>

#include "workspace/ini_file.h"

namespace tarnwell {

class reopen_list {
  public:
    static constexpr std::size_t capacity = 2;

    // Puts a path at the top; a path already listed moves there, the oldest drops out.
    void add(const std::string& path);
    const std::vector<std::string>& entries() const { return entries_; }

    // The list lives in the "main" section as "reopen1", "reopen2", ...
    void load(const ini_file& ini);
    void store(ini_file& ini) const;

  private:
    std::vector<std::string> entries_;
};

}  // namespace tarnwell
