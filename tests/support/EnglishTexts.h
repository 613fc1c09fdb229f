#pragma once
// The English catalogue installed for the length of a test, as a start with
// an English locale installs it; the texts as written come back afterwards
// for every later test in the same process.

#include "core/startup/LanguageChoice.h"

#include <gtest/gtest.h>

namespace nuvask::test {

class EnglishTexts
{
public:
    EnglishTexts() { m_loaded = InstallLanguage(UiLanguage::English); }
    ~EnglishTexts() { RemoveLanguage(); }
    EnglishTexts(const EnglishTexts &) = delete;
    EnglishTexts &operator=(const EnglishTexts &) = delete;
    // False when the compiled-in catalogue could not be loaded.
    bool loaded() const { return m_loaded; }

private:
    bool m_loaded = false;
};

} // namespace nuvask::test
