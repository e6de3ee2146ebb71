// msgbox-answer: answers one message box of another process for a test script.
//
//   msgbox-answer.exe <caption> <record-file> <owner-pid|0> [timeout-ms]
//
// Writes "<icon word>\n<message text>" to <record-file>. Exit status: 0 answered, 1 timed out
// (no record), 2 bad usage, 3 answered but the record could not be written.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "../BoxAnswer.h"
#include "common/win32/UniqueHandle.h"

int main(int argc, char** argv) {
    if (argc < 4 || argc > 5 || !*argv[2]) {
        std::fputs("usage: msgbox-answer.exe <caption> <record-file> <owner-pid|0> [timeout-ms]\n", stderr);
        return 2;
    }
    const std::atomic<bool> never{false};
    const auto answered = AnswerBox(argv[1], static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10)),
                                    argc > 4 ? std::strtoul(argv[4], nullptr, 10) : 20000, never);
    if (!answered) return 1;
    const std::string record = answered->icon + '\n' + answered->text;
    win32::UniqueFile file(CreateFileA(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && WriteFile(file.get(), record.data(), static_cast<DWORD>(record.size()), &written, nullptr) &&
                   written == record.size() ? 0 : 3;
}
