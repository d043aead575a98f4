<?xml version="1.0" encoding="UTF-8"?>
<!-- The overview page of the model documentation: every named package of the XMI text. -->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
  <xsl:output method="html" encoding="UTF-8" indent="yes"
              doctype-public="-//W3C//DTD HTML 4.01//EN"
              doctype-system="http://www.w3.org/TR/html4/strict.dtd"/>

  <xsl:template match="/">
    <html>
      <head>
        <meta http-equiv="Content-Type" content="text/html; charset=UTF-8"/>
        <title>Package overview</title>
        <link rel="stylesheet" type="text/css" href="styles.css"/>
      </head>
      <body>
        <p class="head">Package overview</p>
        <p><a href="p_overview_diagram.html">Diagram</a></p>
        <table>
          <tr>
            <td class="tableheader">Package name</td>
            <td class="tableheader"></td>
          </tr>
          <xsl:for-each select="//Model_Management.Package[Foundation.Core.ModelElement.name != ''
                                and Foundation.Core.ModelElement.name != '((Unknown))']">
            <xsl:sort select="Foundation.Core.ModelElement.name"/>
            <tr>
              <td class="t_cell">
                <a href="p_{@xmi.id}.html"><xsl:value-of select="Foundation.Core.ModelElement.name"/></a>
              </td>
              <td class="t_cell"><a href="p_{@xmi.id}_diagram.html">Diagram</a></td>
            </tr>
          </xsl:for-each>
        </table>
      </body>
    </html>
  </xsl:template>
</xsl:stylesheet>
