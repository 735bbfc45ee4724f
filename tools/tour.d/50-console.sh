# The setting console: Tiltdesk collects the settings pages of the suite's
# page plug-ins (registered under HKLM ...\Tiltkit\Property) into one sheet
# with its header band; F1 opens the help of the page shown. Sourced by
# tools/tour.sh.

tour_say "Setting console: Tiltdesk shows every registered settings page in one sheet"
if ! wine_run reg query 'HKLM\Software\Zelvar\Tiltkit\Property' >/dev/null 2>&1; then
  # Nothing installed the page entries: register the page plug-ins that were
  # built. A UTF-16 .reg file carries the Russian display names intact.
  desk_reg=$TOUR_OUT/console-pages.reg
  desk_winbin=$(printf '%s' "$TOUR_WINBIN" | sed 's/\\/\\\\/g')
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    key=10
    for page in "Feedcfg:Настройка Tiltfeed" "Joltcfg:Настройка Jolt" "Gravcal:Диспетчер акселерометра"; do
      dll=${page%%:*} name=${page#*:}
      [ -f "$TOUR_BIN/$dll.dll" ] || continue
      printf '[HKEY_LOCAL_MACHINE\\Software\\Zelvar\\Tiltkit\\Property\\%04d]\r\n' $key
      printf '"Name"="%s"\r\n"DLLFileName"="%s\\\\%s.dll"\r\n\r\n' "$name" "$desk_winbin" "$dll"
      echo "registered $dll.dll as page plug-in $(printf '%04d' $key)" >&2
      key=$((key + 10))
    done
    if [ $key -eq 10 ]; then
      printf '[HKEY_LOCAL_MACHINE\\Software\\Zelvar\\Tiltkit\\Property\\0010]\r\n'
      printf '"Name"="Тестовая страница"\r\n"DLLFileName"="%s\\\\Testpage.dll"\r\n\r\n' "$desk_winbin"
      printf '[HKEY_CURRENT_USER\\Software\\Zelvar\\Tiltkit\\TestPages\\Testpage]\r\n'
      printf '"Title"="Страница"\r\n"Pages"=dword:00000002\r\n\r\n'
      echo "no page plug-in built yet: registered the test page library as 0010" >&2
    fi
  } | iconv -f UTF-8 -t UTF-16 > "$desk_reg"
  wine_run regedit /S "$(echo "$desk_reg" | sed 's|^|Z:|; s|/|\\|g')" >/dev/null 2>&1
fi
echo "page plug-in keys:" $(wine_run reg query 'HKLM\Software\Zelvar\Tiltkit\Property' 2>/dev/null | tr -d '\r' | grep -o 'Property\\[^\\]*$' | sed 's/Property\\//')

wine_run "$TOUR_APP/Tiltdesk.exe" </dev/null >/dev/null 2>&1 &
desk_pid=$!
if wine_run "$TOUR_BIN/Deskctl.exe" wait 15000; then
  sleep 1
  tour_shot console
  # F1 asks the page shown (the Tiltfeed page, the first one) for its help:
  # Help\Tiltfeed.chm of the installation opens in the help viewer at the
  # page's topic. Wine's viewer shows the window, its title and the
  # contents; the topic's text needs Wine's HTML engine, which the tour
  # leaves out.
  tour_say "F1 on the console's page opens its help topic in Russian"
  if wine_run "$TOUR_BIN/Deskctl.exe" help 30000; then
    sleep 2
    tour_shot console-help
  else
    echo "no help window came up (an error box, if any, is on the screenshot)"
    tour_shot console-help-failed
  fi
  tour_say "Closing the console (Cancel), the help window with it"
  wine_run "$TOUR_BIN/Deskctl.exe" close
else
  echo "the console did not show its sheet (an error box, if any, is on the screenshot)"
  tour_shot console-failed
  kill "$desk_pid" 2>/dev/null
fi
# Never leave the tour waiting on a console that did not close.
for _ in $(seq 1 50); do kill -0 "$desk_pid" 2>/dev/null || break; sleep 0.1; done
kill "$desk_pid" 2>/dev/null
wait "$desk_pid" 2>/dev/null
