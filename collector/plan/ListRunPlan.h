#pragma once

class Collection;
namespace console {
class ConsoleWriter;
}

// "-list": after the detection, what a run would do, one line per step of the capture step
// table with indented detail lines, then the total it would copy and where. Nothing is made,
// written or started: the steps' actions run with a plan that takes what they would do.
// Returns the exit status: a run's own when it would stop before its first step (an incident
// number it refuses, a destination root that is not there), else kExitDone.
int ListRunPlan(Collection& collection, console::ConsoleWriter& console);
