#pragma once
#include <QPointer>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "i18n/LanguageFile.h"
#include "ui/common/LanguageApply.h"

namespace vem {

// A window built the first time it is asked for, so that the program's start does not wait for
// it. It gets the texts of its section of the language file taken last, and of each taken later.
template <class Window>
class LazyWindow {
public:
    LazyWindow(LanguageSection section, std::function<Window*()> build)
        : section_(section), build_(std::move(build)) {}
    // A window without a section of its own: its texts come from the message table.
    explicit LazyWindow(std::function<Window*()> build) : build_(std::move(build)) {}

    Window& get() {
        if (!window_) {
            window_ = build_();
            if (texts_) applyLanguageSection(window_, *section_, *texts_);
        }
        return *window_;
    }
    // Null until get() built it, and again once its parent deleted it.
    Window* built() const { return window_; }

    void takeLanguage(const LanguageFile& file) {
        if (!section_) return;
        texts_ = file.section(*section_);
        if (window_) applyLanguageSection(window_, *section_, *texts_);
    }

private:
    std::optional<LanguageSection> section_;
    std::function<Window*()> build_;
    QPointer<Window> window_;
    std::optional<std::vector<std::string>> texts_;
};

}  // namespace vem
