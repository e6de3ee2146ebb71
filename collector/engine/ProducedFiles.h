#pragma once
#include <string>
#include <vector>

#include "engine/RunFolderFiles.h"

// The files a step left in the run folder: those of `after` that `before` did not hold, or
// held with another size or last write time. Both lists ordered by path, as listed.
std::vector<std::string> FilesProduced(const std::vector<RunFolderFile>& before,
                                       const std::vector<RunFolderFile>& after);
