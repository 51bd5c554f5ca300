// Messages and questions as message boxes captioned with the program's name.
#pragma once

#include <QPointer>
#include <QWidget>

#include "Prompter.h"

namespace sw::ui {

class QtPrompter : public Prompter {
public:
    QtPrompter();
    void SetParent(QWidget* parent) { m_parent = parent; }
    void ShowMessage(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
    Choice AskChoice(const std::string& text, const std::string& first,
                     const std::string& second) override;

    // The program file's name without its extension.
    static QString Caption();

private:
    QPointer<QWidget> m_parent;
};

}  // namespace sw::ui
