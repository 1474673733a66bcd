#pragma once
// The picture tutorial: eight questions on the left, the answer picture on
// the right. Opened modally; its behaviour is wired by the help controller.

#include <QDialog>

class QGroupBox;
class QLabel;
class QScrollBar;

namespace kovra::shell {

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    QGroupBox* QuestionGroup = nullptr;
    QLabel* QuestionLabels[8] = {};
    QLabel* AnswerPicture = nullptr;
    QScrollBar* AnswerScrollBar = nullptr;
};

} // namespace kovra::shell
