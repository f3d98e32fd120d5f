// The floor for start-up figures: a bare Qt program that shows one editable combo box, built with
// the same Qt and flags as the program. startup.sh times it side by side with scrivlet.
#include <QApplication>
#include <QComboBox>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QComboBox box;
    box.setEditable(true);
    box.show();
    return application.exec();
}
