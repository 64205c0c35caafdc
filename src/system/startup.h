#pragma once

// What every Lamello program (the window, command-line tools) does first thing
// in main(): tunes the allocator for sheets (tuneAllocator()) and ignores
// SIGXFSZ (ignoreFileSizeSignal()).
void prepareProcess();

// Under a file-size limit (RLIMIT_FSIZE) a write past it raises SIGXFSZ, which
// ends the process and any unsaved work. Ignored, the write fails with EFBIG
// and is reported like a full disk. Safe to call any number of times; every
// writer of files calls it too.
void ignoreFileSizeSignal();

// Loads Qt's own translations (Debian's qt6-translations-l10n) for the
// language the program speaks (Language::installed(), Polish unless another
// was installed), so that file dialogs and standard buttons speak it too. Call
// after the application object exists; returns false when they are not
// installed (Qt's dialogs then stay in English).
bool installToolkitTranslations();
