// The floor that loading a roster file is measured against: the same
// formatted reads over the same file, with nothing else around them.
#include <fstream>
#include <iostream>
#include <limits>
#include <string>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    if (argc != 2) {
        std::cerr << "usage: bare_read FILE\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::cerr << "bare_read: cannot open " << argv[1] << '\n';
        return 1;
    }
    std::string name;
    std::string major;
    int age = 0;
    int height = 0;
    int weight = 0;
    double GPA = 0.0;
    double networth = 0.0;
    unsigned long records = 0;
    unsigned long valid = 0;
    while (std::getline(in, name) && std::getline(in, major) &&
           in >> age >> height >> weight >> GPA >> networth) {
        in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
        ++records;
        if (21 <= age && age <= 120 && 50 <= height && height <= 85 && 100 <= weight &&
            weight <= 500 && 0.0 <= GPA && GPA <= 4.0) {
            ++valid;
        }
    }
    // Printing the counts keeps the loop from being optimised away.
    std::cout << records << " records, " << valid << " valid\n";
    return 0;
}
