#include "app/Form_Mini.h"

#include "app/Form_ControlCenter.h"
#include "link/Form_Com.h"

Form_Mini::Form_Mini(Form_ControlCenter *main)
    : m_main(main)
{
}

Form_Mini::~Form_Mini() = default;

void Form_Mini::drawVolumeBar(int) { }
void Form_Mini::Label_Close_Click() { }
void Form_Mini::Label_Min_Click() { }
void Form_Mini::Timer_Fenster_Timer() { }
void Form_Mini::keyPressEvent(QKeyEvent *) { }
void Form_Mini::mousePressEvent(QMouseEvent *) { }
void Form_Mini::mouseMoveEvent(QMouseEvent *) { }
bool Form_Mini::eventFilter(QObject *watched, QEvent *event)
{
    return QWidget::eventFilter(watched, event);
}
void Form_Mini::showPopUp(const QPoint &) { }
