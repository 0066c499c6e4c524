// Stands in for the runner quorvex.exe in the tests: writes an eight-line
// report into its current directory the way a runner must, complete before it
// takes the report's name. Its first line tells whether the skip marker was
// there; the second is CP932 text.
#include <cstdio>

int main()
{
    bool marker = false;
    if (std::FILE *f = std::fopen("tstjikko.dat", "rb")) {
        marker = true;
        std::fclose(f);
    }
    std::FILE *report = std::fopen("errormsg.tmp", "wb");
    if (!report)
        return 1;
    std::fputs(marker ? "marker\r\n" : "no marker\r\n", report);
    std::fputs("\x90\xb3\x8f\xed\x8f\x49\x97\xb9\r\n", report); // 正常終了
    std::fputs("c\r\nd\r\ne\r\nf\r\ng\r\nh\r\n", report);
    if (std::fclose(report) != 0)
        return 1;
    std::remove("errormsg.txt");
    return std::rename("errormsg.tmp", "errormsg.txt") == 0 ? 0 : 1;
}
