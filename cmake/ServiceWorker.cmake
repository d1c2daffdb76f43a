# Writes the page's service worker, its store named after a digest of the files it keeps, so that
# every build that changes a file gets a store of its own:
#   cmake -DPAGE=folder -DTEMPLATE=sw.js "-DFILES=a;b;..." -P ServiceWorker.cmake
set(digest "")
set(quoted "")
foreach(file ${FILES})
  file(SHA256 "${PAGE}/${file}" hash)
  string(APPEND digest "${hash}")
  list(APPEND quoted "'${file}'")
endforeach()
string(SHA256 id "${digest}")
string(SUBSTRING "${id}" 0 16 WIRBELBOX_BUILD_ID)
string(JOIN ", " WIRBELBOX_PAGE_FILES ${quoted})
configure_file("${TEMPLATE}" "${PAGE}/sw.js" @ONLY)
