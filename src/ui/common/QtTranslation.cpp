#include "ui/common/QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace vem {

void QtTranslation::follow(const std::string& code) {
    if (installed_) QCoreApplication::removeTranslator(&translator_);
    installed_ = !code.empty() &&
                 translator_.load(QStringLiteral("qtbase_") + QString::fromStdString(code),
                                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
                 QCoreApplication::installTranslator(&translator_);
}

}  // namespace vem
