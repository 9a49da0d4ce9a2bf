// tracciacurve: draws ellipses, hyperbolas and parabolas by points.
#include <QApplication>

#include "intro/program.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    setUpApplication(app);
    startProgram();
    return app.exec();
}
