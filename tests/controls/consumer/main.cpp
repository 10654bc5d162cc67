// Places both libraries' controls on one window and restores them from one property bag.
#include <Command.h>
#include <PropertyBag.h>
#include <QApplication>
#include <ctlFrame.h>
#include <ctlLabel.h>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    auto *frame = new ctlFrame(&window);
    auto *label = new ctlLabel(frame);
    auto *button = new Command(frame);
    label->ReadProperties(PropertyBag {{"stCaption", "Hall A"}, {"lStyle", 1}});
    button->ReadProperties(PropertyBag {{"Caption", "&Ok"}});
    int clicks = 0;
    QObject::connect(button, &Command::Click, [&] { ++clicks; });
    button->click();
    return label->Caption() == "Hall A" && button->AccessKey() == "o" && clicks == 1 ? 0 : 1;
}
