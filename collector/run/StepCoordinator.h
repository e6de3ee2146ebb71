#pragma once
// Runs the capture step table: every row on a step context of its own, up to "threads=N" rows
// at once, in the order the table declares (run/StepOrder.h), the report in table order
// (run/OrderedStepOutput.h). One thread is the table's order exactly.
class Collection;

// The rows that may run at once: "threads=N" when given, else 4, or the processors if fewer.
unsigned StepThreads(unsigned asked);

void RunCaptureSteps(Collection& collection);
