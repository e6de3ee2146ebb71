@echo off
rem Packs the files named in a cabinet list into a cabinet and, when asked, deletes them
rem afterwards. Shared by qzcab.cmd and qzhacab.cmd:
rem   qzpack.cmd <folder> <system directory> <list file name> <cabinet path> YES|NO
rem Each list line is "\relative path" "\name in cabinet"; paths are relative to <folder>.
rem makecab.exe of the system directory packs when it is there, else cabarc.exe. cabarc gets
rem the files on its command line, so a long list is split over <cabinet>_2.cab, _3.cab, ...
rem No cabinet is ever overwritten, and files are deleted only once every cabinet was made.
rem A name may hold any character a file name can (% ^ ! & ( ) , ; = included): names travel
rem in FOR variables and in files, never as CALL arguments or through %-expansion, where the
rem interpreter would read those characters as its own.
rem Exit status: 0 packed; 2 no list; 3 a cabinet exists already; 4 no cabinet tool;
rem 5 the folder cannot be entered; 6 the cabinet tool failed.
setlocal EnableExtensions DisableDelayedExpansion
if "%~1"==":names" goto names_by_quotes
set "FOLDER=%~1"
if "%FOLDER:~-1%"=="\" set "FOLDER=%FOLDER:~0,-1%"
set "SYSDIR=%~2"
set "LIST=%FOLDER%\%~3"
set "CAB=%~4"
set "DELETE=%~5"
rem Files per cabarc command line: 25 list paths of at most 260 characters, quoted, stay
rem below cmd's 8191-character line together with cabarc's own path and the cabinet's.
set "FILES_PER_CABINET=25"

if not exist "%LIST%" (
  echo qzpack: no list file "%LIST%"; nothing packed
  exit /b 2
)
if exist "%CAB%" (
  echo qzpack: "%CAB%" exists already; nothing packed
  exit /b 3
)
set "TOOL="
if exist "%SYSDIR%\cabarc.exe" set "TOOL=cabarc"
if exist "%SYSDIR%\makecab.exe" set "TOOL=makecab"
if not defined TOOL (
  echo qzpack: neither makecab.exe nor cabarc.exe in "%SYSDIR%"; nothing packed
  exit /b 4
)

rem The list is written in the ANSI code page, and the interpreter reads files and hands names
rem on in the console's: the two are made the same until the end, then the console's is back.
set "CONSOLE_CP="
set "ANSI_CP="
for /f "tokens=2 delims=:." %%C in ('chcp') do set /a "CONSOLE_CP=%%C" 2>nul
for /f "tokens=3" %%C in ('reg query "HKLM\SYSTEM\CurrentControlSet\Control\Nls\CodePage" /v ACP 2^>nul') do set "ANSI_CP=%%C"
if "%CONSOLE_CP%"=="0" set "CONSOLE_CP="
if defined CONSOLE_CP if defined ANSI_CP chcp %ANSI_CP% >nul

set "PART=0"
rem Working files of this attempt, beside the cabinet it makes, under a name of their own:
rem %RANDOM% repeats in interpreters started in the same second.
set "WORK=%CAB:~0,-4%.qzpack"
if exist "%WORK%\" rd /s /q "%WORK%"
md "%WORK%" 2>nul
if not exist "%WORK%\" (
  echo qzpack: cannot make "%WORK%"; nothing packed
  set "WORK="
  set "STATUS=6"
  goto end
)
rem The list's paths, one a line as "\relative path", without quotes. Wine's interpreter takes
rem a quote as FOR /F delimiter from a quoted option string; Windows' refuses that string (so
rem it is tried in an interpreter of its own) and splits the text of a FOR variable in a FOR set
rem instead, which Wine's does not.
set "NAMES=%WORK%\names.txt"
cmd /d /v:off /c ""%~f0" :names "%LIST%"" >"%NAMES%" 2>nul
for %%F in ("%NAMES%") do if %%~zF gtr 0 goto %TOOL%
for /f "usebackq delims=" %%L in ("%LIST%") do (
  set "TAKEN="
  for %%N in (%%L) do if not defined TAKEN (
    set "TAKEN=1"
    >>"%NAMES%" echo %%~N
  )
)
goto %TOOL%

rem The list's paths by quote delimiters, from the interpreter started above.
:names_by_quotes
for /f "usebackq tokens=1 delims=""" %%S in ("%~2") do echo %%S
exit /b 0

:makecab
for %%C in ("%CAB%") do (
  set "CAB_FOLDER=%%~dpC"
  set "CAB_NAME=%%~nxC"
)
set "DDF=%WORK%\qzpack.ddf"
> "%DDF%" (
  echo .OPTION EXPLICIT
  echo .Set CabinetNameTemplate=%CAB_NAME%
  echo .Set DiskDirectoryTemplate=%CAB_FOLDER:~0,-1%
  echo .Set MaxDiskSize=0
  echo .Set Cabinet=on
  echo .Set Compress=on
  echo .Set UniqueFiles=off
  echo .Set RptFileName=nul
  echo .Set InfFileName=nul
)
rem A directive file reads %% as one percent sign, so each is doubled there. makecab is
rem Windows' own, and Windows' interpreter does not expand what delayed expansion gives again.
for /f "usebackq tokens=* delims=\" %%R in ("%NAMES%") do (
  set "NAME=%%R"
  setlocal EnableDelayedExpansion
  >>"!DDF!" echo "!FOLDER!\!NAME:%%=%%%%!" "!NAME:%%=%%%%!"
  endlocal
)
set "PART=1"
"%SYSDIR%\makecab.exe" /F "%DDF%" >nul
set "MAKECAB_STATUS=%ERRORLEVEL%"
if not "%MAKECAB_STATUS%"=="0" goto failed
if not exist "%CAB%" goto failed
goto packed

:cabarc
set "COUNT=0"
set "FAILED="
if not exist "%FOLDER%\" (
  echo qzpack: cannot enter "%FOLDER%"; nothing packed
  set "STATUS=5"
  goto end
)
rem Each cabinet's command line is written into a file, a name at a time, and run from there
rem as the text of a FOR variable, which the interpreter does not read again.
set "COMMAND=%WORK%\cabarc.txt"
pushd "%FOLDER%"
rem cabarc makes no cabinet of empty files only: the empty ones go first, among the first
rem cabinet's files with data, and every later cabinet holds files with data only (a run
rem folder of 25 empty files or more still fails here, and says so). The condition stands
rem inside the loop's block: Wine's interpreter leaves the loop variable unexpanded in the block
rem of an IF that is the loop's whole body.
for /f "usebackq tokens=* delims=\" %%R in ("%NAMES%") do (
  if "%%~zR"=="0" (
    call :cabarc_room
    >>"%COMMAND%" <nul set /p "="%%R" "
    set /a COUNT+=1
  )
)
for /f "usebackq tokens=* delims=\" %%R in ("%NAMES%") do (
  if not "%%~zR"=="0" (
    call :cabarc_room
    >>"%COMMAND%" <nul set /p "="%%R" "
    set /a COUNT+=1
  )
)
if not defined FAILED if %COUNT% gtr 0 call :cabarc_part
popd
if defined FAILED goto failed
goto packed

rem Opens a cabinet's command line when none is open, and runs a full one first.
:cabarc_room
if defined FAILED exit /b 1
if %COUNT% geq %FILES_PER_CABINET% call :cabarc_part
if defined FAILED exit /b 1
if %COUNT% gtr 0 exit /b 0
set /a PART+=1
set "PART_CAB=%CAB%"
if %PART% gtr 1 set "PART_CAB=%CAB:~0,-4%_%PART%.cab"
if exist "%PART_CAB%" (
  echo qzpack: "%PART_CAB%" exists already
  set /a PART-=1
  set "FAILED=1"
  exit /b 1
)
>"%COMMAND%" <nul set /p "="%SYSDIR%\cabarc.exe" -p N "%PART_CAB%" "
exit /b 0

:cabarc_part
>>"%COMMAND%" echo.
for /f "usebackq delims=" %%C in ("%COMMAND%") do %%C >nul
if errorlevel 1 set "FAILED=1"
if not exist "%PART_CAB%" set "FAILED=1"
set "COUNT=0"
exit /b 0

:failed
echo qzpack: packing "%FOLDER%" failed; no file was deleted
rem Cabinets of this attempt go, so that a new attempt is not refused for them.
for /l %%N in (1,1,%PART%) do call :remove_part %%N
set "STATUS=6"
goto end

:remove_part
if "%1"=="1" (del /f /q "%CAB%" 2>nul) else (del /f /q "%CAB:~0,-4%_%1.cab" 2>nul)
exit /b 0

:packed
echo qzpack: "%FOLDER%" packed into "%CAB%"
if %PART% gtr 1 echo qzpack: and %PART% cabinets in all, "%CAB:~0,-4%_2.cab" onwards
set "STATUS=0"
if /i not "%DELETE%"=="YES" goto end
rem The list itself is read until the end and goes last.
for /f "usebackq delims=" %%N in ("%NAMES%") do if /i not "%FOLDER%%%N"=="%LIST%" del /f /q "%FOLDER%%%N"
del /f /q "%LIST%"
rem The folders the deletion left empty go, the deepest first: each pass takes those the one
rem before emptied.
:prune
set "EMPTIED="
for /d /r "%FOLDER%" %%D in (*) do (
  rd "%%D" 2>nul
  if not exist "%%D\" set "EMPTIED=1"
)
if defined EMPTIED goto prune
rd "%FOLDER%" 2>nul
goto end

:end
if defined WORK rd /s /q "%WORK%" 2>nul
if defined CONSOLE_CP if defined ANSI_CP chcp %CONSOLE_CP% >nul
exit /b %STATUS%
