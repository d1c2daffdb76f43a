# Builds the Windows installer with wixl from resources/windows/wirbelbox.wxs, the same file from
# every build of the same program: its files dated SOURCE_DATE_EPOCH, its clock stopped there
# (faketime) for the database's dates, and its product and package codes derived from the version
# and the program instead of drawn at random.
#   cmake -DWXS=… -DPROGRAM=… -DLICENCE=… -DICON=… -DVERSION=… -DHOMEPAGE=… -DOUTPUT=… -P Msi.cmake
set(upgrade_code b5c27456-8955-4eb9-8e29-83b678002559)  # the one in the .wxs: every version's
get_filename_component(output ${OUTPUT} ABSOLUTE)
set(stage ${output}.files)
file(REMOVE_RECURSE ${stage})
file(MAKE_DIRECTORY ${stage})
file(COPY_FILE ${WXS} ${stage}/wirbelbox.wxs)
file(COPY_FILE ${PROGRAM} ${stage}/wirbelbox.exe)
file(COPY_FILE ${LICENCE} ${stage}/COPYING.txt)
file(COPY_FILE ${ICON} ${stage}/wirbelbox.ico)

if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  set(ENV{SOURCE_DATE_EPOCH} 315532800)  # 1980-01-01, the earliest date a cabinet holds
endif()
string(TIMESTAMP stamp "%Y-%m-%d %H:%M:%S" UTC)  # SOURCE_DATE_EPOCH's
execute_process(COMMAND touch -d "@$ENV{SOURCE_DATE_EPOCH}" wirbelbox.exe COPYING.txt wirbelbox.ico
  WORKING_DIRECTORY ${stage} COMMAND_ERROR_IS_FATAL ANY)

# What "Installed apps" shows as the size: the installed files, in kilobytes.
file(SIZE ${stage}/wirbelbox.exe program_size)
file(SIZE ${stage}/COPYING.txt licence_size)
math(EXPR size_kb "(${program_size} + ${licence_size} + 1023) / 1024")
file(SHA256 ${stage}/wirbelbox.exe program)
file(SHA256 ${stage}/wirbelbox.wxs design)
string(UUID product_code NAMESPACE ${upgrade_code} NAME "product ${VERSION}" TYPE SHA1 UPPER)
string(UUID package_code NAMESPACE ${upgrade_code} NAME "package ${VERSION} ${program} ${design}"
  TYPE SHA1 UPPER)
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env TZ=UTC faketime -f "${stamp}"
    wixl -a x64 -D Version=${VERSION} -D ProductCode=${product_code} -D Homepage=${HOMEPAGE}
    -D SizeKB=${size_kb}
    -o ${output} wirbelbox.wxs
  WORKING_DIRECTORY ${stage} COMMAND_ERROR_IS_FATAL ANY)
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env TZ=UTC faketime -f "${stamp}"
    msibuild ${output} -s "Wirbelbox, a dexterity game" Wirbelbox "x64;1033" "{${package_code}}"
  WORKING_DIRECTORY ${stage} COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE_RECURSE ${stage})
