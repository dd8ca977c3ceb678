#pragma once

class QObject;

// Qt's own texts (standard buttons, file, folder, colour and font dialogs) in Chinese, from the
// system's translations folder, so that every text a person sees is Chinese; and the Chinese
// locale, so that dates and numbers read the Chinese way too ("2026/12/9").
namespace QtTranslations {

// False when the translations are not installed; the texts then stay English. The locale is
// Chinese either way.
bool installChinese(QObject *owner);

} // namespace QtTranslations
