#pragma once
// The frame of every qdsminfo test: a fresh run state, the output taken instead of printed, and
// a fatal error that ends the test step instead of the process.
#include <gtest/gtest.h>
#include <ole2.h>

#include <string>

#include "Output.h"
#include "RunState.h"
#include "WbemErrors.h"

struct FatalEnd {
    int status;
};

class CapturedOutput final : public OutputSink {
public:
    void Out(std::string_view bytes) override { out.append(bytes); }
    void Err(std::string_view bytes) override { err.append(bytes); }
    std::string out;
    std::string err;
};

class QdsmTest : public ::testing::Test {
protected:
    void SetUp() override {
        ThisRun() = RunState{};
        SetOutputSink(&captured_);
        SetProcessEnd(EndByThrowing);
        ASSERT_EQ(::OleInitialize(nullptr), S_OK);
    }
    void TearDown() override {
        if (!endedFatally_) ::OleUninitialize();
        SetOutputSink(nullptr);
        SetProcessEnd(nullptr);
        ThisRun() = RunState{};
    }

    const std::string& Out() const { return captured_.out; }
    const std::string& Err() const { return captured_.err; }
    void ClearOutput() {
        captured_.out.clear();
        captured_.err.clear();
    }

    // Runs a step that must end on the fatal path; gives the status it would end the process with.
    template <class Step>
    int EndsFatally(Step step) {
        try {
            step();
        } catch (const FatalEnd& end) {
            endedFatally_ = true;
            return end.status;
        }
        return -1;
    }

private:
    [[noreturn]] static void EndByThrowing(int status) { throw FatalEnd{status}; }

    CapturedOutput captured_;
    bool endedFatally_ = false;
};
