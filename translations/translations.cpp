#include "translations/translations.h"

// Q_INIT_RESOURCE declares a function in the enclosing namespace, so it must
// be expanded at global scope.
static void initTranslationResources()
{
    Q_INIT_RESOURCE(kovra_translations);
}

namespace kovra::translations {

QString TranslationFile(const QString& locale)
{
    // A static library's resources are not registered by themselves.
    static const bool registered = (initTranslationResources(), true);
    Q_UNUSED(registered);
    return QStringLiteral(":/kovra/translations/kovra_%1.qm").arg(locale);
}

} // namespace kovra::translations
