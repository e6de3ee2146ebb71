#pragma once
#include <map>
#include <string>

// Each source's "EventMessageFile" value, read from the registry once per export: a log holds
// many records of few sources, and a registry read for every record is the export's largest
// cost after the module loads. Only the read is kept, with its failure; the expansion of the
// value is done for every record, so its report line and error text stay those of that record.
class MessageFileValues {
public:
    // The value below `key` (under the local machine) as read, or null when the key or the
    // value cannot be read; valid until the next call. Without `keepAcrossRecords` every call
    // reads the registry again.
    const std::string* Find(const std::string& key);
    void Clear() noexcept { values_.clear(); }

    // How often the registry has been asked (successful or not).
    size_t ReadsMade() const noexcept { return readsMade_; }

    // Off only to measure what the cache saves; the output is the same either way.
    bool keepAcrossRecords = true;

private:
    struct Value {
        bool readable = false;
        std::string text;
    };
    std::map<std::string, Value> values_;
    size_t readsMade_ = 0;
};
