#include "app/desktop/Clipboard.h"

#include "app/model/QtStrings.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace morvane::app {
namespace {

class SystemClipboard final : public Clipboard {
public:
    std::optional<std::string> text() const override {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        if (data == nullptr || !data->hasText()) {
            return std::nullopt;
        }
        return fromQString(data->text());
    }
};

} // namespace

std::shared_ptr<Clipboard> Clipboard::system() {
    return std::make_shared<SystemClipboard>();
}

} // namespace morvane::app
