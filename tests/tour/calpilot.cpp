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
#include "testbench/pagedriver.h"
#include "calibration/resource.h"
#include <prsht.h>
#include <stdio.h>
#include <string.h>

static HWND Page()
{
    HWND hPage = tb::WaitPageWith(0, IDC_STATUS, 15000);
    if (!hPage)
        fprintf(stderr, "Calpilot: no calibration page\n");
    return hPage;
}

/* The wizard and the page it shows. */
static HWND Wizard(HWND *phWizPage)
{
    HWND hWizard = tb::WaitDialogWith(0, IDC_MEASURE);
    if (hWizard)
        tb::WaitFor([&] { return (*phWizPage = tb::ShownPage(hWizard)) != NULL; });
    if (!hWizard || !*phWizPage)
        fprintf(stderr, "Calpilot: no calibration wizard\n");
    return *phWizPage ? hWizard : NULL;
}

static int Status()
{
    HWND hPage = Page();
    if (!hPage)
        return 1;
    tb::PrintLine(tb::ItemText(hPage, IDC_STATUS));
    return 0;
}

static int Start()
{
    HWND hPage = Page();
    HWND hWizPage = NULL;
    if (!hPage)
        return 1;
    tb::PostClick(hPage, IDC_START);
    if (!Wizard(&hWizPage))
        return 1;
    tb::PrintLine(tb::ItemText(hWizPage, IDC_INSTRUCTIONS));
    return 0;
}

static int Measure()
{
    HWND hWizPage = NULL;
    if (!Wizard(&hWizPage))
        return 1;
    tb::SetItemText(hWizPage, IDC_RESULT, L"");
    tb::PostClick(hWizPage, IDC_MEASURE);
    HWND hMeasure = tb::WaitDialogWith(0, IDC_MEASURE_TEXT);
    if (!hMeasure) {
        fprintf(stderr, "Calpilot: the measurement did not start\n");
        return 1;
    }
    if (!tb::WaitWindowGone(hMeasure, 20000))
        return 1;
    tb::WaitFor([&] { return !tb::ItemText(hWizPage, IDC_RESULT).empty(); }, 2000);
    tb::PrintLine(tb::ItemText(hWizPage, IDC_RESULT));
    return 0;
}

static int Next()
{
    HWND hOld = NULL;
    HWND hWizard = Wizard(&hOld);
    if (!hWizard)
        return 1;
    tb::PressSheetButton(hWizard, PSBTN_NEXT);
    return tb::WaitFor([&] {
        HWND h = tb::ShownPage(hWizard);
        return h != NULL && h != hOld;
    }) ? 0 : 1;
}

static int Close(int nButton)
{
    HWND hWizPage = NULL;
    HWND hWizard = Wizard(&hWizPage);
    if (!hWizard)
        return 1;
    tb::PressSheetButton(hWizard, nButton);
    return tb::WaitWindowGone(hWizard, 5000) ? 0 : 1;
}

static int CloseConsole()
{
    HWND hPage = Page();
    if (!hPage)
        return 1;
    HWND hSheet = GetParent(hPage);
    tb::PressSheetButton(hSheet, PSBTN_CANCEL);
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
