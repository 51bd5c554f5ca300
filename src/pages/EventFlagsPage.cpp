#include "EventFlagsPage.h"

#include <QGroupBox>

#include "pages/ControlIds.h"
#include "pages/DialogTemplate.h"

namespace sw::ui {

EventFlagsPage::EventFlagsPage(Prompter& prompter, QWidget* parent)
    : QWidget(parent), m_prompter(prompter) {
    setObjectName(QStringLiteral("148"));
    setGeometry(DluRect(10, 17, 300, 122));
    AddGroupBox(this, QStringLiteral("Event Flags"), DluRect(0, 0, 299, 122))
        ->setObjectName(IdName(id::kFlagsGroup));
}

void EventFlagsPage::LoadDescriptions(const std::string& programDir) {
    sw::LoadDescriptions(m_descriptions, m_romName, programDir, m_prompter);
}

void EventFlagsPage::RebuildFlagList() {}

void EventFlagsPage::EnableFlagList(bool) {}

}  // namespace sw::ui
