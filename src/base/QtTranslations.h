#pragma once

class QObject;

// Qt's own texts (standard buttons, file, folder, colour and font dialogs) in Chinese, from the
// system's translations folder, so that every text a person sees is Chinese.
namespace QtTranslations {

// False when the translations are not installed; the texts then stay English.
bool installChinese(QObject *owner);

} // namespace QtTranslations
