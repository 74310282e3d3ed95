#pragma once

// Gives the toolkit's own dialogs (file, print, print preview) and standard buttons their
// Chinese texts, whatever the system's language: the program speaks Chinese throughout.
// Returns false when the translations are not installed; the dialogs then stay in English.
bool installQtTranslations();
