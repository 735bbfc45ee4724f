#include "testbench/capture.h"
#include "testbench/testbench.h"
#include <shlobj.h>
#include <stdio.h>

namespace tb {

static Pixels FromBitmap(HDC hdc, HBITMAP hbm, int w, int h)
{
    Pixels px;
    px.w = w;
    px.h = h;
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = w;
    bmi.bmiHeader.biHeight = -h;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    px.rgb.assign((size_t)w * h, 0);
    GetDIBits(hdc, hbm, 0, h, px.rgb.data(), &bmi, DIB_RGB_COLORS);
    for (DWORD &v : px.rgb)
        v &= 0x00FFFFFF;
    return px;
}

Pixels CaptureScreen(const RECT &rc)
{
    int w = rc.right - rc.left, h = rc.bottom - rc.top;
    if (w <= 0 || h <= 0)
        return Pixels();
    HDC hdcScreen = GetDC(NULL);
    HDC hdcMem = CreateCompatibleDC(hdcScreen);
    HBITMAP hbm = CreateCompatibleBitmap(hdcScreen, w, h);
    HGDIOBJ hOld = SelectObject(hdcMem, hbm);
    BitBlt(hdcMem, 0, 0, w, h, hdcScreen, rc.left, rc.top, SRCCOPY);
    SelectObject(hdcMem, hOld);
    Pixels px = FromBitmap(hdcMem, hbm, w, h);
    DeleteObject(hbm);
    DeleteDC(hdcMem);
    ReleaseDC(NULL, hdcScreen);
    return px;
}

Pixels BitmapPixels(HMODULE hModule, int id)
{
    HBITMAP hbm = (HBITMAP)LoadImageA(hModule, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0,
                                      LR_CREATEDIBSECTION);
    if (!hbm)
        return Pixels();
    BITMAP bm = {};
    GetObjectA(hbm, sizeof(bm), &bm);
    HDC hdc = GetDC(NULL);
    Pixels px = FromBitmap(hdc, hbm, bm.bmWidth, bm.bmHeight);
    ReleaseDC(NULL, hdc);
    DeleteObject(hbm);
    return px;
}

/* ---- PNG writer: stored deflate blocks, enough for screenshots ---------- */

static unsigned long Crc32(const unsigned char *p, size_t n)
{
    static unsigned long table[256];
    if (!table[1]) {
        for (unsigned long i = 0; i < 256; i++) {
            unsigned long c = i;
            for (int k = 0; k < 8; k++)
                c = c & 1 ? 0xEDB88320UL ^ (c >> 1) : c >> 1;
            table[i] = c;
        }
    }
    unsigned long crc = 0xFFFFFFFFUL;
    for (size_t i = 0; i < n; i++)
        crc = table[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
    return ~crc & 0xFFFFFFFFUL;
}

static void Put32(std::vector<unsigned char> &v, unsigned long x)
{
    v.push_back((x >> 24) & 0xFF);
    v.push_back((x >> 16) & 0xFF);
    v.push_back((x >> 8) & 0xFF);
    v.push_back(x & 0xFF);
}

static void Chunk(std::vector<unsigned char> &out, const char *type, const std::vector<unsigned char> &data)
{
    Put32(out, (unsigned long)data.size());
    std::vector<unsigned char> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    Put32(out, Crc32(body.data(), body.size()));
}

bool WritePng(const std::string &path, const Pixels &px)
{
    if (px.w <= 0 || px.h <= 0)
        return false;
    /* Filter byte 0 and R, G, B per pixel, row by row. */
    std::vector<unsigned char> raw;
    raw.reserve((size_t)px.h * (1 + (size_t)px.w * 3));
    for (int y = 0; y < px.h; y++) {
        raw.push_back(0);
        for (int x = 0; x < px.w; x++) {
            DWORD v = px.at(x, y);
            raw.push_back((v >> 16) & 0xFF);
            raw.push_back((v >> 8) & 0xFF);
            raw.push_back(v & 0xFF);
        }
    }
    std::vector<unsigned char> z = { 0x78, 0x01 };
    unsigned long a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    for (size_t pos = 0; pos < raw.size();) {
        size_t n = raw.size() - pos > 65535 ? 65535 : raw.size() - pos;
        z.push_back(pos + n >= raw.size() ? 1 : 0);
        z.push_back(n & 0xFF);
        z.push_back((n >> 8) & 0xFF);
        z.push_back(~n & 0xFF);
        z.push_back((~n >> 8) & 0xFF);
        z.insert(z.end(), raw.begin() + pos, raw.begin() + pos + n);
        pos += n;
    }
    Put32(z, (b << 16) | a);
    std::vector<unsigned char> out = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' };
    std::vector<unsigned char> ihdr;
    Put32(ihdr, px.w);
    Put32(ihdr, px.h);
    ihdr.insert(ihdr.end(), { 8, 2, 0, 0, 0 });
    Chunk(out, "IHDR", ihdr);
    Chunk(out, "IDAT", z);
    Chunk(out, "IEND", {});
    FILE *f = fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = fwrite(out.data(), 1, out.size(), f) == out.size();
    return fclose(f) == 0 && ok;
}

std::string SaveScreenshot(HWND hwnd, const std::string &dir, const std::string &name)
{
    Pump(300);   /* let the program finish painting */
    RECT rc;
    if (!hwnd || !GetWindowRect(hwnd, &rc))
        SetRect(&rc, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    Pixels px = CaptureScreen(rc);
    if (px.w == 0)
        return "";
    SHCreateDirectoryExA(NULL, dir.c_str(), NULL);
    std::string path = dir + "\\" + name + ".png";
    return WritePng(path, px) ? path : "";
}

} // namespace tb
