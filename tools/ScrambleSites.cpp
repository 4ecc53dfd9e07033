// formtide-scramble: makes the site-address file that ships with the program.
//
//   formtide-scramble < tests/data/sites/padok-clear.txt > data/padok.txt
//
// Reads clear addresses (without "http://"), one a line, in Windows-1252, with LF or CR LF line
// ends; writes each scrambled with SiteAddressCipher::fileDepth, ended by CR LF. Lines with control
// characters or byte 0xFF are refused (the cipher cannot carry 0xFF, and a control code could
// turn into a line end): nothing is written and the exit status is 1.

#include "core/FileRules.h"
#include "core/Windows1252.h"
#include "sites/SiteAddressCipher.h"

#include <QFile>
#include <cstdio>

int main()
{
    QFile in;
    QFile out;
    QFile err;
    if (!in.open(stdin, QIODevice::ReadOnly) || !out.open(stdout, QIODevice::WriteOnly) ||
        !err.open(stderr, QIODevice::WriteOnly))
        return 2;

    QByteArray result;
    int lineNumber = 0;
    for (const QByteArray& line : FileRules::splitLines(in.readAll())) {
        ++lineNumber;
        for (const char ch : line) {
            const auto code = static_cast<unsigned char>(ch);
            if (code < 0x20 || code == 0x7F || code == 0xFF) {
                err.write("formtide-scramble: line " + QByteArray::number(lineNumber) + ": byte 0x" +
                          QByteArray::number(code, 16) + " cannot be stored\n");
                return 1;
            }
        }
        result += SiteAddressCipher::encode(line) + "\r\n";
    }
    return out.write(result) == result.size() && out.flush() ? 0 : 2;
}
