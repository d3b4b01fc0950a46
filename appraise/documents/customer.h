#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace appraise {

// The customer the main program handed over, fixed for the whole run.
struct CustomerContext {
    std::array<std::string, 5> custlines; // indexed 1 to 4; line 4 empty in the four-field form
    std::string custnumber;               // record number in "cust.dat", as text
    int32_t custrecordno = 0;
    std::string custprefix; // five digits, the start of every appraisal file name
};

// Reads the hand-over file "apptrans.dat" (four or five free-format fields).
CustomerContext readHandover(const std::string& fileName = "apptrans.dat");

// The last five characters of "0000" + the numeric value of the number text (7 -> 00007,
// 123456 -> 23456).
std::string customerPrefix(const std::string& custnumber);

// The record length of Appraise's view of "cust.dat".
constexpr size_t appraiseCustRecordLength = 348;

// Reads record `recordNo` of "cust.dat" (created empty when missing; a record beyond the end
// is blank). Nothing of it is used afterwards.
std::string readCustomerRecord(int32_t recordNo);

} // namespace appraise
