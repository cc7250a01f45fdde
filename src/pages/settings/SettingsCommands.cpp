#include "pages/settings/SettingsCommands.h"

#include "i18n/LanguageTexts.h"
#include "pages/dialogs/MessageBox.h"
#include "pages/host/PageHost.h"
#include "protocol/worker/DeviceTask.h"
#include "ui/base/Dialog.h"

#include <QUrl>

namespace corvane::pages {

namespace {
QString text(int id) {
    return i18n::lookupText(i18n::kTextSection, id);
}
} // namespace

void restoreDefaults(PageHost& host) {
    if (!host.connectionShown()) {
        host.showMessage(text(57), text(576), MessageOneButton);
        return;
    }
    if (host.showMessage(text(571), text(570), MessageTwoButtons) == ui::ResultSecond)
        return;
    host.clearReadBackDone();
    host.queueTask(protocol::DeviceTask::FactoryReset);
    host.showSaveWait();
}

bool isWebLink(const QString& url) {
    const QUrl parsed(url.trimmed(), QUrl::StrictMode);
    const QString scheme = parsed.scheme().toLower();
    return parsed.isValid() && (scheme == u"http" || scheme == u"https") &&
           !parsed.host().isEmpty();
}

QString updateStatusLine(const protocol::UpdateStatusView& status) {
    if (status.state != 1)
        return text(580);
    if (status.kind == protocol::UpdateKind::Program)
        return QStringLiteral("%1: v%2").arg(text(582), status.latest);
    return QStringLiteral("%1: V%2.%3")
        .arg(text(582), status.latest.left(1), status.latest.right(2));
}

} // namespace corvane::pages
