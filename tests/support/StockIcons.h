#pragma once
#include <windows.h>

// The name of the stock icon a message box shows, as LoadIcon gives it in this process, or
// nullptr for an icon that is none of them.
inline const char* StockIconWord(HICON shown) {
    static const struct {
        LPCSTR id;
        const char* word;
    } kStockIcons[] = {{IDI_EXCLAMATION, "exclamation"},
                       {IDI_HAND, "stop"},
                       {IDI_ASTERISK, "information"},
                       {IDI_QUESTION, "question"}};
    for (const auto& stock : kStockIcons)
        if (LoadIconA(nullptr, stock.id) == shown) return stock.word;
    return nullptr;
}
