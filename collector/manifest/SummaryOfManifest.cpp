#include "manifest/SummaryOfManifest.h"

#include <cstdio>

#include "common/text/Format.h"

namespace {

std::string Text(const JsonValue* value) {
    const std::string* text = value ? value->AsString() : nullptr;
    return text ? *text : std::string();
}

ULONGLONG Unsigned(const JsonValue* value) { return value ? value->AsUnsigned().value_or(0) : 0; }

bool Flag(const JsonValue* value) { return value && value->AsBool().value_or(false); }

const std::vector<JsonValue>& Elements(const JsonValue& object, const char* name) {
    static const std::vector<JsonValue> kNone;
    const JsonValue* value = object.Find(name);
    return value ? value->Elements() : kNone;
}

// Seconds since the year 0 of "YYYY-MM-DDTHH:MM:SS", as far as a duration within days needs.
std::optional<long long> Seconds(const std::string& time) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (std::sscanf(time.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d", &year, &month, &day, &hour, &minute, &second) != 6)
        return std::nullopt;
    SYSTEMTIME system{static_cast<WORD>(year), static_cast<WORD>(month), 0, static_cast<WORD>(day),
                      static_cast<WORD>(hour), static_cast<WORD>(minute), static_cast<WORD>(second), 0};
    FILETIME file{};
    if (!::SystemTimeToFileTime(&system, &file)) return std::nullopt;
    return static_cast<long long>(((static_cast<ULONGLONG>(file.dwHighDateTime) << 32) | file.dwLowDateTime) / 10000000);
}

SummaryStep StepOf(const JsonValue& step, SummaryFacts& facts) {
    SummaryStep summary;
    summary.row = static_cast<int>(Unsigned(step.Find("row")));
    summary.name = Text(step.Find("name"));
    summary.outcome = Text(step.Find("outcome"));
    if (summary.outcome.empty()) summary.outcome = Flag(step.Find("carriedOut")) ? "carried out" : "skipped";
    for (const JsonValue& reason : Elements(step, "reasons")) summary.reasons.push_back(Text(&reason));
    summary.milliseconds = Unsigned(step.Find("durationMilliseconds"));
    for (const JsonValue& child : Elements(step, "children")) {
        SummaryProgram program;
        program.commandLine = Text(child.Find("commandLine"));
        program.started = Flag(child.Find("started"));
        program.exitCode = static_cast<DWORD>(Unsigned(child.Find("exitCode")));
        program.error = static_cast<DWORD>(Unsigned(child.Find("error")));
        program.timedOut = Flag(child.Find("timedOut"));
        if (const JsonValue* milliseconds = child.Find("milliseconds")) program.milliseconds = milliseconds->AsUnsigned();
        summary.programs.push_back(std::move(program));
    }
    // A file the step made and a later one moved is named without a size.
    for (const JsonValue& file : Elements(step, "files")) {
        if (file.Find("size") == nullptr) continue;
        ++summary.files;
        summary.bytes += Unsigned(file.Find("size"));
    }
    for (const JsonValue& cut : Elements(step, "cut")) {
        const ULONGLONG bytes = Unsigned(cut.Find("size"));
        facts.losses.push_back({Text(cut.Find("path")),
                                bytes == 0 ? "not written" : text::Format("cut short after %llu bytes", bytes)});
    }
    for (const JsonValue& file : Elements(step, "notCopied"))
        facts.losses.push_back(
            {Text(file.Find("source")), text::Format("not copied (%llu bytes)", Unsigned(file.Find("size")))});
    return summary;
}

}  // namespace

SummaryFacts SummaryOfManifest(const JsonValue& manifest) {
    SummaryFacts facts;
    facts.version = Text(manifest.Find("version"));
    facts.incident = Text(manifest.Find("incident"));
    facts.machine = Text(manifest.Find("machine"));
    facts.runFolder = Text(manifest.Find("runFolder"));
    facts.start = Text(manifest.Find("start"));
    const std::optional<long long> start = Seconds(facts.start);
    const std::optional<long long> end = Seconds(Text(manifest.Find("end")));
    if (start && end && *end >= *start) facts.milliseconds = static_cast<ULONGLONG>(*end - *start) * 1000;
    for (const JsonValue& line : Elements(manifest, "failureLines")) facts.failureLines.push_back(Text(&line));
    for (const JsonValue& step : Elements(manifest, "steps")) facts.steps.push_back(StepOf(step, facts));
    for (const JsonValue& reason : Elements(manifest, "reasonsOutsideSteps"))
        facts.reasonsOutsideSteps.push_back(Text(&reason));
    if (const JsonValue* redaction = manifest.Find("redaction"))
        for (const JsonValue& file : Elements(*redaction, "withheld"))
            facts.losses.push_back({Text(file.Find("path")), "withheld: " + Text(file.Find("reason"))});
    for (const JsonValue& file : Elements(manifest, "files"))
        facts.files.push_back({Text(file.Find("path")), Unsigned(file.Find("size")), Text(file.Find("sha256")),
                               Flag(file.Find("cut"))});
    if (const JsonValue* options = manifest.Find("options"))
        for (const auto& [name, value] : options->Members())
            facts.options.emplace_back(name, value.AsUnsigned().value_or(0) != 0 ? "on" : "off");
    if (const JsonValue* detection = manifest.Find("detection"))
        for (const auto& [name, value] : detection->Members())
            facts.detection.emplace_back(name, value.IsString() ? *value.AsString()
                                               : value.AsUnsigned()  ? (*value.AsUnsigned() != 0 ? "yes" : "no")
                                                                     : value.NumberText());
    return facts;
}
