// GoogleTest with a QApplication, for tests that drive real widgets (offscreen).
#include <gtest/gtest.h>

#include <QApplication>

#include "shell/EditorStyle.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    sw::ui::UseEditorStyle();  // the window's style as the program has it
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
