// Makes every replacement of a file fail after the temporary file is written and before the rename,
// for as long as it lives: the moment a crash would hit a save.
#pragma once

#include "settings/AtomicFile.h"

#include <functional>
#include <utility>

class FailingRename {
public:
    // `atThatMoment` runs when the temporary file is complete and the old file is still in place.
    explicit FailingRename(std::function<void()> atThatMoment = {}) {
        atomic_file::SetBeforeRenameHookForTest([f = std::move(atThatMoment)] {
            if (f)
                f();
            return false;
        });
    }
    ~FailingRename() { atomic_file::SetBeforeRenameHookForTest(nullptr); }
    FailingRename(const FailingRename&) = delete;
    FailingRename& operator=(const FailingRename&) = delete;
};
