// The program entry. The command line is not read: files reach a running program through the
// hand-off from the shell.

#include "app/application.h"
#include "app/main_form.h"
#include "app/startup.h"

int main(int argc, char** argv)
{
    TApplication application(argc, argv);
    std::unique_ptr<TForm1> form = StartUp();
    form->show();
    return application.exec();
}
