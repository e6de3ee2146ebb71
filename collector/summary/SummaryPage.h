#pragma once
#include <string>

#include "summary/SummaryFacts.h"

// "SUMMARY.html": one self-contained page (inline style, no script, nothing fetched) that
// tells the person who opens a bundle first what went wrong, then every step, every file and
// how the run was set up. The facts are UTF-8.
std::string SummaryHtml(const SummaryFacts& facts);

constexpr char kSummaryPageName[] = "SUMMARY.html";
