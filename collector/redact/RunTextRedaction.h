#pragma once
#include <memory>
#include <string>

#include "engine/Redaction.h"
#include "redact/NameTable.h"
#include "redact/StandInMap.h"

namespace redact {

// Texts written after the run folder was rewritten (the manifest's) get the same stand-ins.
class RunTextRedaction : public TextRedaction {
public:
    RunTextRedaction(NameTable names, std::shared_ptr<StandInMap> standIns)
        : names_(std::move(names)), standIns_(std::move(standIns)) {}
    std::string Redacted(const std::string& text) override;
    const StandInMap& StandIns() const noexcept { return *standIns_; }
    StandInMap& StandIns() noexcept { return *standIns_; }
    const NameTable& Names() const noexcept { return names_; }

private:
    NameTable names_;
    std::shared_ptr<StandInMap> standIns_;
};

}  // namespace redact
