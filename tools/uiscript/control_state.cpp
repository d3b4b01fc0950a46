#include "tools/uiscript/control_state.h"

#include "platform/doubles/transcript.h"
#include "platform/widgets/mnemonics.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextEdit>

#include <map>

namespace uiscript {

using namespace platform;

namespace {
QString crlf(QString s) {
    s.replace(QChar::ParagraphSeparator, '\n').replace(QChar::LineSeparator, '\n');
    return s.replace('\n', QStringLiteral("\r\n"));
}
} // namespace

QString withFolderNamed(QString text, bool escaped) {
    // As the program shows it, in the system's own separators, and as the transcript writes that
    // (a backslash doubled). A path in the folder reads "<folder>/INTBACK/name" on every system:
    // its separators up to the next blank, quote or escape are written as "/".
    const QString folder = QDir::currentPath();
    const QString native = QDir::toNativeSeparators(folder);
    QString twice = native;
    twice.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    const QString named = QStringLiteral("<folder>");
    for (const QString& form : {twice, native, folder}) text.replace(form, named);
    if (native == folder) return text;
    const QChar slash = QLatin1Char('\\');
    for (qsizetype at = text.indexOf(named); at >= 0; at = text.indexOf(named, at + 1)) {
        for (qsizetype i = at + named.size(); i < text.size(); ++i) {
            const QChar c = text[i];
            if (c.isSpace() || c == QLatin1Char('"') || c.category() == QChar::Other_Control) break;
            if (c != slash) continue;
            if (!escaped) {
                text[i] = QLatin1Char('/');
            } else if (i + 1 < text.size() && text[i + 1] == slash) {
                text.replace(i, 2, QStringLiteral("/"));
            } else {
                break; // an escape: the path ended
            }
        }
    }
    return text;
}

QString controlText(QWidget* w) { return withFolderNamed(rawControlText(w), false); }

QString rawControlText(QWidget* w) {
    const QVariant caption = w->property("caption");
    if (caption.isValid()) return caption.toString();
    if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
    if (auto* t = qobject_cast<QTextEdit*>(w)) return crlf(t->toPlainText());
    if (auto* t = qobject_cast<QPlainTextEdit*>(w)) return crlf(t->toPlainText());
    // Captions are compared as shown, without their Alt-key markers.
    if (auto* l = qobject_cast<QLabel*>(w)) return l->buddy() ? withoutMnemonic(l->text()) : l->text();
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return withoutMnemonic(b->text());
    if (auto* g = qobject_cast<QGroupBox*>(w)) return withoutMnemonic(g->title());
    if (w->isWindow()) return w->windowTitle();
    return {};
}

std::optional<int> controlValue(QWidget* w) {
    if (qobject_cast<QRadioButton*>(w) || qobject_cast<QCheckBox*>(w))
        return static_cast<QAbstractButton*>(w)->isChecked() ? 1 : 0;
    if (auto* s = qobject_cast<QScrollBar*>(w)) return s->value();
    if (auto* p = qobject_cast<QProgressBar*>(w)) return p->value();
    return std::nullopt;
}

bool controlVisible(QWidget* w) { return !w->isHidden(); }

QStringList showControl(QWidget* w) {
    QString head = QStringLiteral("show %1 visible=%2").arg(w->objectName(), controlVisible(w) ? "yes" : "no");
    const bool hasText =
        !qobject_cast<QScrollBar*>(w) && !qobject_cast<QProgressBar*>(w) && !qobject_cast<QListWidget*>(w);
    if (hasText) head += QStringLiteral(" text=") + quoted(controlText(w));
    if (auto v = controlValue(w)) head += QStringLiteral(" value=%1").arg(*v);
    QStringList lines{head};
    if (auto* l = qobject_cast<QListWidget*>(w)) {
        for (int i = 0; i < l->count(); ++i)
            lines << QStringLiteral("  [%1] %2 data=%3")
                         .arg(i)
                         .arg(quoted(l->item(i)->text()))
                         .arg(l->item(i)->data(Qt::UserRole).toInt());
    }
    return lines;
}

QStringList showShortcuts(QWidget* window) {
    std::map<QChar, QStringList> keys;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisible()) continue;
        QChar letter;
        QWidget* target = w;
        if (auto* b = qobject_cast<QAbstractButton*>(w)) letter = mnemonicOf(b->text());
        else if (auto* g = qobject_cast<QGroupBox*>(w)) letter = mnemonicOf(g->title());
        else if (auto* l = qobject_cast<QLabel*>(w); l && l->buddy()) {
            letter = mnemonicOf(l->text());
            target = l->buddy();
        }
        if (!letter.isNull()) keys[letter] << target->objectName();
    }
    QStringList lines;
    for (const auto& [letter, names] : keys)
        lines << QStringLiteral("  Alt+%1 %2%3")
                     .arg(letter, names.join(' '), names.size() > 1 ? QStringLiteral(" AMBIGUOUS") : QString());
    return lines;
}

} // namespace uiscript
