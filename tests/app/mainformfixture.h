#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

#include "app/mainform.h"
#include "support/recordingui.h"

// A shown, active main window whose messages a recorder takes (it is made
// after the window, so it replaces the window's message boxes) and answers.
class MainFormFixture : public ::testing::Test {
 protected:
  MainFormFixture() : form(std::make_unique<TMainForm>()), ui(std::make_unique<RecordingUi>()) {
    form->resize(1000, 700);
    form->show();
    QApplication::setActiveWindow(form.get());
  }

  // Declared in this order, the recorder goes before the window.
  std::unique_ptr<TMainForm> form;
  std::unique_ptr<RecordingUi> ui;
};
