#include <gtest/gtest.h>

#include <sstream>

#include "person/Person.h"

namespace roster {
namespace {

TEST(PersonTest, RowMatchesTableLayout) {
    Person person("Smith, John", 25, 70, 180, 3.5, "Computer Science", 15000);
    std::ostringstream out;
    person.printRow(out);
    EXPECT_EQ(
        out.str(),
        "Smith, John         Computer Science    A         5'10\"     25        $15000.000000");
}

}  // namespace
}  // namespace roster
