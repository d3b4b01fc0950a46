#include "platform/widgets/mnemonics.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>

#include <algorithm>

namespace platform {

QString withoutMnemonic(const QString& caption) {
    QString out;
    out.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) ++i;
        out += caption[i];
    }
    return out;
}

QChar mnemonicOf(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] != '&') return caption[i + 1].toUpper();
        ++i;
    }
    return {};
}

void MnemonicGroup::add(QWidget* w) {
    QString caption;
    if (auto* b = qobject_cast<QAbstractButton*>(w)) caption = b->text();
    else if (auto* g = qobject_cast<QGroupBox*>(w)) caption = g->title();
    else if (auto* l = qobject_cast<QLabel*>(w)) caption = l->text();
    setCaption(w, caption);
}

void MnemonicGroup::setCaption(QWidget* w, const QString& marked) {
    auto it = std::find_if(captions_.begin(), captions_.end(), [w](const auto& c) { return c.first == w; });
    if (it == captions_.end()) captions_.emplace_back(w, marked);
    else it->second = marked;
    apply(w, marked);
}

void MnemonicGroup::setActive(bool on) {
    if (on == active_) return;
    active_ = on;
    for (const auto& [w, marked] : captions_) apply(w, marked);
}

void MnemonicGroup::apply(QWidget* w, const QString& marked) const {
    // Without the marker a literal ampersand must still be doubled.
    const QString shown = active_ ? marked : QString(withoutMnemonic(marked)).replace('&', QStringLiteral("&&"));
    if (auto* b = qobject_cast<QAbstractButton*>(w)) b->setText(shown);
    else if (auto* g = qobject_cast<QGroupBox*>(w)) g->setTitle(shown);
    else if (auto* l = qobject_cast<QLabel*>(w)) l->setText(shown);
}

} // namespace platform
