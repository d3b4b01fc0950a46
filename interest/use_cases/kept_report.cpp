#include "interest/use_cases/kept_report.h"

#include "common/cp1252.h"
#include "common/env.h"
#include "common/text_file.h"

namespace interest {

using namespace common;

KeptReport::KeptReport(platform::Platform& p, const std::string& date) {
    const QString stamp =
        p.clock.today().toString(QStringLiteral("yyyy-MM-dd")) + ' ' + p.clock.now().toString(QStringLiteral("HHmm"));
    name_ = QStringLiteral("Interest report %1 posted %2.pdf").arg(fromAnsi(date), stamp);
    for (int n = 2; Env::current().info(name_.toStdString()).exists; ++n)
        name_ = QStringLiteral("Interest report %1 posted %2 (%3).pdf").arg(fromAnsi(date), stamp).arg(n);
    partial_ = name_ + QString::fromLatin1(temporarySuffix);
    printer_ = p.documents.toFile(partial_, p.printer.geometry(), {});
}

QString KeptReport::keep() {
    printer_->endDoc();
    return Env::current().rename(partial_.toStdString(), name_.toStdString()) ? name_ : partial_;
}

void KeptReport::drop() {
    printer_->killDoc();
    if (Env::current().info(partial_.toStdString()).exists) Env::current().remove(partial_.toStdString());
}

} // namespace interest
