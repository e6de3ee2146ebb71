#include "summary/SummaryPage.h"

#include <cstdio>
#include <map>

#include "common/text/Format.h"

namespace {

constexpr char kStyle[] =
    "body{font:14px/1.45 system-ui,Segoe UI,sans-serif;margin:1.5em;color:#1f1f1f;max-width:110em}"
    "h1{font-size:1.4em;margin:0 0 .6em}h2{font-size:1.15em;margin:1.6em 0 .5em;border-bottom:1px solid #ccc}"
    "h3{font-size:1em;margin:1em 0 .3em}table{border-collapse:collapse}"
    "th,td{border:1px solid #d8d8d8;padding:2px 7px;text-align:left;vertical-align:top}"
    "th{background:#f3f3f3}.n{text-align:right;white-space:nowrap}code,.h{font-family:Consolas,monospace;"
    "font-size:.92em;word-break:break-all}.ok{color:#17692b}.partial{color:#8a5a00;font-weight:bold}"
    ".failed{color:#b3261e;font-weight:bold}.skipped{color:#6b6b6b}"
    ".problems{background:#fff5f3;border:1px solid #efb3aa;padding:.4em 1em}.problems h2{margin-top:.4em}"
    ".whole{background:#f2faf3;border:1px solid #a9d8b2;padding:.4em 1em}"
    "details{margin:.2em 0}summary{cursor:pointer}";

struct StatusMeaning {
    int status;
    const char* meaning;
};

constexpr StatusMeaning kStatusMeanings[] = {
    {0, "the collection ran to its end"},
    {1, "refused: not an administrator"},
    {2, "the incident number was refused"},
    {3, "no run folder could be made"},
    {4, "the dialog was cancelled"},
    {5, "a command-line token was malformed"},
    {6, "the collection ran to its end but lost data it could have had"},
};

std::string Html(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (char c : utf8) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&#39;"; break;
            default: out += c;
        }
    }
    return out;
}

// "1,234,567"
std::string Grouped(ULONGLONG number) {
    const std::string digits = std::to_string(number);
    std::string grouped;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

// "950 ms", "12.4 s", "3 min 05 s"
std::string Duration(ULONGLONG milliseconds) {
    if (milliseconds < 1000) return text::Format("%llu ms", milliseconds);
    if (milliseconds < 60000) return text::Format("%llu.%llu s", milliseconds / 1000, milliseconds % 1000 / 100);
    const ULONGLONG seconds = milliseconds / 1000;
    return text::Format("%llu min %02llu s", seconds / 60, seconds % 60);
}

std::string Outcome(const std::string& outcome) {
    return "<span class=\"" + Html(outcome) + "\">" + Html(outcome) + "</span>";
}

std::string ProgramResult(const SummaryProgram& program) {
    std::string result;
    if (!program.started)
        result = text::Format("not started (error %lu)", program.error);
    else if (program.timedOut)
        result = "ended at the time limit";
    else if (program.error != 0)
        result = text::Format("exit code unknown (error %lu)", program.error);
    else
        result = text::Format("exit code %lu", program.exitCode);
    if (program.milliseconds) result += ", " + Duration(*program.milliseconds);
    return result;
}

void Row(std::string& page, std::initializer_list<std::string> cells) {
    page += "<tr>";
    for (const std::string& cell : cells) page += cell;
    page += "</tr>\n";
}

std::string Cell(const std::string& html, const char* cls = nullptr) {
    return cls ? std::string("<td class=\"") + cls + "\">" + html + "</td>" : "<td>" + html + "</td>";
}

void Facts(std::string& page, const SummaryFacts& facts) {
    page += "<table>\n";
    auto fact = [&page](const char* name, const std::string& html) {
        page += "<tr><th>" + std::string(name) + "</th><td>" + html + "</td></tr>\n";
    };
    fact("Incident", Html(facts.incident));
    fact("Machine", Html(facts.machine));
    fact("Run folder", "<code>" + Html(facts.runFolder) + "</code>");
    fact("Start", Html(facts.start));
    fact("Duration", facts.milliseconds ? Duration(*facts.milliseconds) : "not recorded");
    std::string status = "not recorded";
    if (facts.exitStatus) {
        status = std::to_string(*facts.exitStatus);
        for (const StatusMeaning& known : kStatusMeanings)
            if (known.status == *facts.exitStatus) status += std::string(": ") + known.meaning;
        status += " (as the records were written; the packing follows)";
    }
    fact("Exit status", status);
    std::map<std::string, unsigned> counts;
    for (const SummaryStep& step : facts.steps) ++counts[step.outcome];
    fact("Steps", text::Format("%u ok, %u partial, %u failed, %u skipped", counts["ok"], counts["partial"],
                               counts["failed"], counts["skipped"]));
    fact("Failures", std::to_string(facts.failureLines.size()));
    fact("Program", "Zeltrin " + Html(facts.version));
    page += "</table>\n";
}

// What went wrong, first: a reader of a whole run sees that at once.
std::string Problems(const SummaryFacts& facts) {
    std::string steps;
    for (const SummaryStep& step : facts.steps) {
        if (step.outcome != "partial" && step.outcome != "failed") continue;
        steps += "<li>" + text::Format("Row %d ", step.row) + Html(step.name) + ": " + Outcome(step.outcome);
        if (!step.reasons.empty()) {
            steps += "<ul>";
            for (const std::string& reason : step.reasons) steps += "<li>" + Html(reason) + "</li>";
            steps += "</ul>";
        }
        steps += "</li>\n";
    }
    for (const std::string& reason : facts.reasonsOutsideSteps) steps += "<li>Outside the steps: " + Html(reason) + "</li>\n";
    std::string inner;
    if (!steps.empty()) inner += "<h3>Steps that did not collect everything</h3>\n<ul>\n" + steps + "</ul>\n";
    if (!facts.failureLines.empty()) {
        inner += "<h3>Failure lines</h3>\n<ol>\n";
        for (const std::string& line : facts.failureLines) inner += "<li><code>" + Html(line) + "</code></li>\n";
        inner += "</ol>\n";
    }
    if (!facts.losses.empty()) {
        inner += "<h3>Files cut short or not copied</h3>\n<ul>\n";
        for (const SummaryLoss& loss : facts.losses)
            inner += "<li><code>" + Html(loss.path) + "</code>: " + Html(loss.what) + "</li>\n";
        inner += "</ul>\n";
    }
    if (inner.empty())
        return "<h2 id=\"problems\">Problems</h2>\n<p class=\"whole\">No problems: every step ended ok or skipped, "
               "and no failure line was written.</p>\n";
    return "<div class=\"problems\">\n<h2 id=\"problems\">Problems</h2>\n" + inner + "</div>\n";
}

void Steps(std::string& page, const SummaryFacts& facts) {
    page += text::Format("<h2 id=\"steps\">Steps (%zu)</h2>\n", facts.steps.size());
    page += "<table>\n<tr><th>Row</th><th>Step</th><th>Outcome</th><th>Duration</th><th>Programs started</th>"
            "<th>Files</th></tr>\n";
    for (const SummaryStep& step : facts.steps) {
        std::string programs;
        for (const SummaryProgram& program : step.programs)
            programs += "<div><code>" + Html(program.commandLine) + "</code>: " + ProgramResult(program) + "</div>";
        std::string outcome = Outcome(step.outcome);
        for (const std::string& reason : step.reasons) outcome += "<div>" + Html(reason) + "</div>";
        Row(page, {Cell(std::to_string(step.row), "n"), Cell(Html(step.name)), Cell(outcome),
                   Cell(step.outcome == "skipped" ? std::string() : Duration(step.milliseconds), "n"), Cell(programs),
                   Cell(step.files == 0 ? std::string()
                                        : text::Format("%zu %s, %s bytes", step.files, step.files == 1 ? "file" : "files",
                                                       Grouped(step.bytes).c_str()),
                        "n")});
    }
    page += "</table>\n";
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

void Files(std::string& page, const SummaryFacts& facts) {
    ULONGLONG total = 0;
    std::map<std::string, std::vector<const SummaryFile*>> byFolder;
    for (const SummaryFile& file : facts.files) {
        total += file.size;
        byFolder[FolderOf(file.path)].push_back(&file);
    }
    page += text::Format("<h2 id=\"files\">Files (%zu, %s bytes)</h2>\n", facts.files.size(), Grouped(total).c_str());
    for (const auto& [folder, files] : byFolder) {
        ULONGLONG bytes = 0;
        for (const SummaryFile* file : files) bytes += file->size;
        page += "<details><summary><code>" + (folder.empty() ? std::string("(run folder)") : Html(folder) + "/") +
                "</code> " + text::Format("%zu files, %s bytes", files.size(), Grouped(bytes).c_str()) +
                "</summary>\n<table>\n<tr><th>File</th><th>Size</th><th>SHA-256</th></tr>\n";
        for (const SummaryFile* file : files)
            Row(page, {Cell("<code>" + Html(file->path) + "</code>" + (file->cut ? " (cut short)" : "")),
                       Cell(Grouped(file->size), "n"),
                       Cell(file->sha256.empty() ? std::string("not hashed") : file->sha256, "h")});
        page += "</table>\n</details>\n";
    }
}

void Pairs(std::string& page, const char* id, const char* title,
           const std::vector<std::pair<std::string, std::string>>& pairs) {
    page += std::string("<h2 id=\"") + id + "\">" + title + "</h2>\n<table>\n";
    for (const auto& [name, value] : pairs) Row(page, {"<th>" + Html(name) + "</th>", Cell(Html(value))});
    page += "</table>\n";
}

}  // namespace

std::string SummaryHtml(const SummaryFacts& facts) {
    std::string page;
    page.reserve(4096 + facts.files.size() * 220);
    const std::string title = "Zeltrin run summary: incident " + Html(facts.incident) + " on " + Html(facts.machine);
    page += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + title +
            "</title>\n<style>" + kStyle + "</style>\n</head>\n<body>\n<h1>" + title + "</h1>\n";
    Facts(page, facts);
    page += Problems(facts);
    Steps(page, facts);
    Files(page, facts);
    Pairs(page, "options", "Options", facts.options);
    Pairs(page, "detection", "Detection", facts.detection);
    page += "</body>\n</html>\n";
    return page;
}
