#pragma once

#include "support/TempFile.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <deque>
#include <filesystem>
#include <string>
#include <vector>

// Answers the message boxes that open while it lives, in order (a box
// without a queued answer gets its default button), and keeps their texts.
class BoxAnswers {
public:
    BoxAnswers() {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start();
    }

    BoxAnswers& Then(QMessageBox::StandardButton button) {
        answers_.push_back(button);
        return *this;
    }
    // Called while a box is open, before it is answered.
    std::function<void()> whileOpen;

    std::vector<std::string> texts;

private:
    void Poll() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || box == last_) {
            return;
        }
        last_ = box;
        texts.push_back(box->text().toStdString());
        if (whileOpen) {
            whileOpen();
        }
        QAbstractButton* button = nullptr;
        if (!answers_.empty()) {
            button = box->button(answers_.front());
            answers_.pop_front();
        }
        if (button == nullptr) {
            button = box->defaultButton();
        }
        if (button != nullptr) {
            button->click();
        } else {
            box->reject();
        }
    }

    QTimer timer_;
    std::deque<QMessageBox::StandardButton> answers_;
    QPointer<QMessageBox> last_;
};

// A folder with copies of the bundled examples, so tests may save them.
class ExampleFolder : public TempTestFolder {
public:
    ExampleFolder() {
        for (const char* name : {"dk-male-mortality.dml", "dk-male-mortality.csv",
                                 "dk-female-mortality.dml", "dk-female-mortality.csv"}) {
            std::filesystem::copy_file(std::filesystem::path(DEMLA_EXAMPLES_DIR) / name,
                                       std::filesystem::path(Path()) / name);
        }
    }
    QString File(const std::string& name) const { return QString::fromStdString(*this / name); }
};
