#include "app/model/RecoveryOffer.h"

#include "app/model/BatchMessages.h"
#include "app/model/HomePath.h"
#include "app/model/Localizer.h"

namespace morvane::app {

RecoveryOffer RecoveryOffer::of(const std::vector<UnfinishedBatch>& batches, const std::string& home) {
    RecoveryOffer offer;
    std::vector<const UnfinishedBatch*> usable;
    std::vector<std::string> reports;
    std::size_t items = 0;
    for (const UnfinishedBatch& batch : batches) {
        if (batch.problem) {
            reports.push_back(unreadableRecordMessage(batch, home));
        } else {
            usable.push_back(&batch);
            items += batch.itemCount;
        }
    }
    if (usable.empty() && reports.empty()) {
        return offer;
    }
    offer.isShown = true;
    if (usable.size() == 1) {
        offer.text =
            Localizer::counted("A batch of %lld item in \u201C%@\u201D was interrupted before it ended.",
                               "A batch of %lld items in \u201C%@\u201D was interrupted before it ended.",
                               items, items, abbreviatingHome(usable.front()->directory, home));
    } else if (usable.size() > 1) {
        offer.text =
            Localizer::counted("%lld batch was interrupted before it ended, with %lld items in all.",
                               "%lld batches were interrupted before they ended, with %lld items in all.",
                               usable.size(), usable.size(), items);
    }
    for (const std::string& report : reports) {
        offer.text += (offer.text.empty() ? "" : " ") + report;
    }
    if (usable.empty()) {
        offer.dismissButton = Localizer::text("Dismiss");
    } else {
        offer.putBackButton = Localizer::text("Put Back");
        offer.dismissButton = Localizer::text("Not Now");
    }
    return offer;
}

} // namespace morvane::app
