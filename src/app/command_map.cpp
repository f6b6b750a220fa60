#include "app/command_map.h"

#include "app/command_boundary.h"
#include "app/user_prompts.h"

namespace qav {

CommandMap::CommandMap(CommandBoundary& boundary, UserPrompts*& prompts, QObject* parent)
    : QObject(parent), boundary_(boundary), prompts_(prompts) {}

CommandMap::Entry& CommandMap::entry(const QString& name) {
    Entry& e = entries_[name];
    if (!e.action) {
        e.action = new QAction(name, this);
        connect(e.action, &QAction::triggered, this, [this, name] { run(name); });
    }
    return e;
}

QAction* CommandMap::action(const QString& name) {
    return entry(name).action;
}

void CommandMap::set(const QString& name, Handler handler) {
    Entry& e = entry(name);
    e.handler = std::move(handler);
    e.noAction = false;
}

void CommandMap::setNoAction(const QString& name) {
    Entry& e = entry(name);
    e.handler = nullptr;
    e.noAction = true;
}

bool CommandMap::hasHandler(const QString& name) const {
    const auto it = entries_.find(name);
    return it != entries_.end() && (it->second.handler || it->second.noAction);
}

QString CommandMap::notAvailableText(const QString& name) {
    return QStringLiteral("%1 is not available yet.").arg(name);
}

void CommandMap::notAvailable(const QString& name) {
    prompts_->information(notAvailableText(name));
}

void CommandMap::run(const QString& name) {
    Entry& e = entry(name);
    if (e.noAction) return;
    if (!e.handler) {
        notAvailable(name);
        return;
    }
    const Handler h = e.handler;  // the handler may replace itself
    boundary_.run(h);
}

}  // namespace qav
