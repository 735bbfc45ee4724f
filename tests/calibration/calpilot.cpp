/*
 * Calpilot.exe: drives the calibration page of a running console from the
 * command line, one step per run, and prints what the page says (UTF-8).
 * The tour uses it to show a calibration without a person at the mouse.
 *
 *   Calpilot status     the page's status text
 *   Calpilot start      opens the wizard
 *   Calpilot measure    measures on the wizard page shown, prints the result
 *   Calpilot next       goes to the next wizard page
 *   Calpilot finish     presses Finish and waits for the wizard to close
 *   Calpilot cancel     cancels the wizard
 *   Calpilot close      closes the console's sheet
 * Exit code 0 when the step was done, 1 otherwise.
 */
#include "calui.h"
#include <prsht.h>
#include <stdio.h>
#include <string.h>

static void Print(const std::wstring &text)
{
    std::string s = tb::Utf8(text);
    std::string out;
    for (char c : s)
        if (c != '\r')
            out += c;
    fwrite(out.data(), 1, out.size(), stdout);
    fputc('\n', stdout);
    fflush(stdout);
}

static HWND Page()
{
    HWND hPage = cal::WaitSettingsPage(0, 15000);
    if (!hPage)
        fprintf(stderr, "Calpilot: no calibration page\n");
    return hPage;
}

static HWND Wizard()
{
    HWND hWizard = cal::WaitWizard(0, 5000);
    if (!hWizard)
        fprintf(stderr, "Calpilot: no calibration wizard\n");
    return hWizard;
}

static int Status()
{
    HWND hPage = Page();
    if (!hPage)
        return 1;
    Print(cal::ItemText(hPage, 1000));
    return 0;
}

static int Start()
{
    HWND hPage = Page();
    if (!hPage)
        return 1;
    cal::Click(GetDlgItem(hPage, 1001));
    HWND hWizard = Wizard();
    if (!hWizard)
        return 1;
    Print(cal::ItemText(cal::ActiveWizardPage(hWizard), 1004));
    return 0;
}

static int Measure()
{
    HWND hWizard = Wizard();
    if (!hWizard)
        return 1;
    HWND hWizPage = cal::ActiveWizardPage(hWizard);
    SetDlgItemTextW(hWizPage, 1003, L"");
    cal::Click(GetDlgItem(hWizPage, 1005));
    HWND hMeasure = cal::WaitMeasureDialog(0, 5000);
    if (!hMeasure) {
        fprintf(stderr, "Calpilot: the measurement did not start\n");
        return 1;
    }
    if (!tb::WaitWindowGone(hMeasure, 20000))
        return 1;
    tb::WaitFor([&] { return !cal::ItemText(hWizPage, 1003).empty(); }, 2000);
    Print(cal::ItemText(hWizPage, 1003));
    return 0;
}

static int Next()
{
    HWND hWizard = Wizard();
    if (!hWizard)
        return 1;
    HWND hOld = cal::ActiveWizardPage(hWizard);
    cal::PressSheetButton(hWizard, PSBTN_NEXT);
    return tb::WaitFor([&] {
        HWND h = cal::ActiveWizardPage(hWizard);
        return h != NULL && h != hOld;
    }) ? 0 : 1;
}

static int Close(int nButton)
{
    HWND hWizard = Wizard();
    if (!hWizard)
        return 1;
    cal::PressSheetButton(hWizard, nButton);
    return tb::WaitWindowGone(hWizard, 5000) ? 0 : 1;
}

static int CloseConsole()
{
    HWND hPage = Page();
    if (!hPage)
        return 1;
    HWND hSheet = GetParent(hPage);
    cal::PressSheetButton(hSheet, PSBTN_CANCEL);
    return tb::WaitWindowGone(hSheet, 5000) ? 0 : 1;
}

int main(int argc, char **argv)
{
    const char *pszStep = argc > 1 ? argv[1] : "";

    if (strcmp(pszStep, "status") == 0)
        return Status();
    if (strcmp(pszStep, "start") == 0)
        return Start();
    if (strcmp(pszStep, "measure") == 0)
        return Measure();
    if (strcmp(pszStep, "next") == 0)
        return Next();
    if (strcmp(pszStep, "finish") == 0)
        return Close(PSBTN_FINISH);
    if (strcmp(pszStep, "cancel") == 0)
        return Close(PSBTN_CANCEL);
    if (strcmp(pszStep, "close") == 0)
        return CloseConsole();
    fprintf(stderr, "usage: Calpilot status|start|measure|next|finish|cancel|close\n");
    return 2;
}
