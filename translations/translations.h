#pragma once
// The program's own translations, built in: one .qm file a language.

#include <QString>

namespace kovra::translations {

// The resource path of a language's compiled texts ("zh_CN" ->
// ":/kovra/translations/kovra_zh_CN.qm"), registering the resources first.
QString TranslationFile(const QString& locale);

} // namespace kovra::translations
