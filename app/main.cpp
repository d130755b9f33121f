// tessora: the label sheet designer.
#include "app/uStartup.h"
#include "app/uWindowMessages.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("tessora");
    QApplication::setApplicationVersion(TESSORA_VERSION);
    tessora::TWindowMessages messages;
    tessora::TMessageScope scope(messages);
    tessora::TStartup startup;
    return startup.Run();
}
