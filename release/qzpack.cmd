@echo off
rem Packs the files named in a cabinet list into a cabinet and, when asked, deletes them
rem afterwards. Shared by qzcab.cmd and qzhacab.cmd:
rem   qzpack.cmd <folder> <system directory> <list file name> <cabinet path> YES|NO
rem Each list line is "\relative path" "\name in cabinet"; paths are relative to <folder>.
rem makecab.exe of the system directory packs when it is there, else cabarc.exe. cabarc gets
rem the files on its command line, so a long list is split over <cabinet>_2.cab, _3.cab, ...
rem No cabinet is ever overwritten, and files are deleted only once every cabinet was made.
rem Exit status: 0 packed; 2 no list; 3 a cabinet exists already; 4 no cabinet tool;
rem 5 the folder cannot be entered; 6 the cabinet tool failed.
setlocal EnableExtensions DisableDelayedExpansion
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
if exist "%SYSDIR%\makecab.exe" goto makecab
if exist "%SYSDIR%\cabarc.exe" goto cabarc
echo qzpack: neither makecab.exe nor cabarc.exe in "%SYSDIR%"; nothing packed
exit /b 4

:makecab
for %%C in ("%CAB%") do (
  set "CAB_FOLDER=%%~dpC"
  set "CAB_NAME=%%~nxC"
)
set "DDF=%TEMP%\qzpack_%RANDOM%%RANDOM%.ddf"
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
  for /f "usebackq delims=;" %%L in ("%LIST%") do call :ddf_line %%L
)
"%SYSDIR%\makecab.exe" /F "%DDF%" >nul
set "STATUS=%ERRORLEVEL%"
del /f /q "%DDF%"
if not "%STATUS%"=="0" goto failed
if not exist "%CAB%" goto failed
set "PART=1"
goto packed

:ddf_line
set "SOURCE=%~1"
set "NAME=%~2"
echo "%FOLDER%%SOURCE%" "%NAME:~1%"
exit /b 0

:cabarc
set "PART=0"
set "FILES="
set "COUNT=0"
set "FAILED="
if not exist "%FOLDER%\" (
  echo qzpack: cannot enter "%FOLDER%"; nothing packed
  exit /b 5
)
pushd "%FOLDER%"
for /f "usebackq delims=;" %%L in ("%LIST%") do call :cabarc_file %%L
if not defined FAILED if defined FILES call :cabarc_part
popd
if defined FAILED goto failed
goto packed

:cabarc_file
if defined FAILED exit /b 1
set "SOURCE=%~1"
set "FILES=%FILES% "%SOURCE:~1%""
set /a COUNT+=1
if %COUNT% geq %FILES_PER_CABINET% call :cabarc_part
exit /b 0

:cabarc_part
set /a PART+=1
set "PART_CAB=%CAB%"
if %PART% gtr 1 set "PART_CAB=%CAB:~0,-4%_%PART%.cab"
if exist "%PART_CAB%" (
  echo qzpack: "%PART_CAB%" exists already
  set /a PART-=1
  set "FAILED=1"
  exit /b 1
)
"%SYSDIR%\cabarc.exe" -p N "%PART_CAB%" %FILES% >nul
if errorlevel 1 set "FAILED=1"
if not exist "%PART_CAB%" set "FAILED=1"
set "FILES="
set "COUNT=0"
exit /b 0

:failed
echo qzpack: packing "%FOLDER%" failed; no file was deleted
rem Cabinets of this attempt go, so that a new attempt is not refused for them.
for /l %%N in (1,1,%PART%) do call :remove_part %%N
exit /b 6

:remove_part
if "%1"=="1" (del /f /q "%CAB%" 2>nul) else (del /f /q "%CAB:~0,-4%_%1.cab" 2>nul)
exit /b 0

:packed
echo qzpack: "%FOLDER%" packed into "%CAB%"
if %PART% gtr 1 echo qzpack: and %PART% cabinets in all, "%CAB:~0,-4%_2.cab" onwards
if /i not "%DELETE%"=="YES" exit /b 0
for /f "usebackq delims=;" %%L in ("%LIST%") do call :delete_file %%L
del /f /q "%LIST%"
call :prune "%FOLDER%"
exit /b 0

:delete_file
set "SOURCE=%~1"
rem The list itself is read until the end and goes last.
if /i "%FOLDER%%SOURCE%"=="%LIST%" exit /b 0
del /f /q "%FOLDER%%SOURCE%"
exit /b 0

rem Removes the folders that the deletion left empty, the deepest first.
:prune
for /f "delims=" %%D in ('dir /ad /b "%~1" 2^>nul') do call :prune "%~1\%%D"
rd "%~1" 2>nul
exit /b 0
