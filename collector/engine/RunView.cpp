// The read-back of a run without a window: the boxes as the detection left them, and the
// entries' length checks of the dialog's data exchange, in the same order.
#include "engine/RunView.h"

#include "engine/Collection.h"
#include "engine/OptionTable.h"
#include "framework/DataExchange.h"
#include "framework/MessageBoxes.h"

namespace {

std::string* TextOf(EntryFields& entries, EntryField field) {
    switch (field) {
        case EntryField::kIncidentNumber: return &entries.incidentNumber;
        case EntryField::kComments: return &entries.comments;
        case EntryField::kName: return &entries.name;
        default: return nullptr;
    }
}

}  // namespace

void RunView::ReadBack(Collection& collection) {
    const auto table = OptionTable();
    for (int place = 1; place <= kLastExchangePlace; ++place) {
        for (size_t index = 0; index < table.size(); ++index)
            if (table[index].exchangePlace == place) collection.options.*table[index].flag = collection.boxes[index].check;
        for (const EntryExchange& entry : EntryExchanges()) {
            if (entry.exchangePlace != place) continue;
            const std::string* text = TextOf(collection.entries, entry.field);
            // A field too long stops the exchange as the dialog's does: it is kept in full, and
            // every box after it keeps its cleared start value.
            if (text != nullptr && text->size() > entry.maxChars) {
                framework::ShowMessageBox(BoxOwner(), framework::DataExchange::TooLongMessage(entry.maxChars),
                                          framework::ApplicationTitle(), MB_OK | MB_ICONEXCLAMATION);
                return;
            }
        }
    }
}
