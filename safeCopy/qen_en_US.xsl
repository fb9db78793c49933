<?xml version="1.0" encoding="utf-8"?>
<!-- The page of an exported simulation: a handout that prints cleanly and
     needs nothing but its own picture files. The program shows, prints and
     saves as PDF the same page. -->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
  <xsl:output method="html" encoding="utf-8" indent="yes"/>

  <xsl:template match="/quenor">
    <html>
      <head>
        <title>Quenor® Simulation</title>
        <style type="text/css">
          body { font-family: Verdana, "DejaVu Sans", sans-serif; font-size: 12px; color: #1a1a1a; }
          h1 { font-size: 25px; font-weight: bold; color: #1f3f66; margin: 0px; }
          table.data { font-size: 11px; border-collapse: collapse; margin-bottom: 12px; }
          table.data td { border: 1px solid #c8c8c8; padding: 3px 6px; }
          td.num { text-align: right; white-space: nowrap; }
          td.name { font-weight: bold; white-space: nowrap; }
          table.gasused th { white-space: nowrap; }
          table.box { font-size: 12px; background-color: #f6f6f6; border: 1px solid #b4b4b4; border-collapse: collapse; }
          table.box td { padding: 4px 8px; }
          td.label { font-weight: bold; width: 110px; }
          td.description { white-space: pre-wrap; }
          th.patient { border: 1px solid #3f6fa8; background-color: #e1ebf7; padding: 3px 6px; }
          th.agent { border: 1px solid #4f8f4f; background-color: #e2f1e2; padding: 3px 6px; }
          th.printout { border: 1px solid #a8793f; background-color: #f7ecdd; padding: 3px 6px; }
          td.setting { border: 1px solid #8c8c8c; background-color: #eeeeee; font-weight: bold; padding: 3px 6px; }
          .caption { font-size: 14px; font-weight: bold; color: #1f3f66; margin-top: 14px; margin-bottom: 4px; }
          .graph { page-break-before: always; text-align: center; }
          .note { font-size: 11px; color: #404040; margin-top: 0px; }
        </style>
      </head>
      <body>
        <table width="100%" cellspacing="0" cellpadding="0">
          <tr>
            <xsl:if test="@iconPath != 'missing' and @iconPath != ''">
              <td width="140" valign="middle">
                <img src="{@iconPath}" width="128" alt=""/>
              </td>
            </xsl:if>
            <td valign="middle"><h1>Quenor® Simulation</h1></td>
          </tr>
        </table>
        <br/>
        <table class="box" width="100%" cellspacing="0">
          <tr>
            <td class="label" width="120">Date/Time:</td>
            <td><xsl:value-of select="@datetime"/></td>
          </tr>
          <tr>
            <td class="label" width="120" valign="top">Description:</td>
            <td class="description"><xsl:value-of select="@description"/></td>
          </tr>
        </table>
        <hr/>
        <table width="100%" cellspacing="0" cellpadding="0">
          <tr>
            <td valign="top" width="50%">
              <xsl:apply-templates select="params/patient"/>
            </td>
            <td width="16"></td>
            <td valign="top" width="50%">
              <xsl:apply-templates select="params/agents"/>
            </td>
          </tr>
        </table>
        <xsl:if test="@printPrintout = 'true'">
          <xsl:apply-templates select="settings"/>
        </xsl:if>
        <!-- What the lesson used beside what follows from it, so that the
             tables share a page. -->
        <table width="100%" cellspacing="0" cellpadding="0">
          <tr>
            <td valign="top" width="52%"><xsl:apply-templates select="gasused"/></td>
            <td width="16"></td>
            <td valign="top"><xsl:apply-templates select="forecast"/></td>
          </tr>
        </table>
        <xsl:if test="@printGraph = 'true' and @externalImage != ''">
          <p class="caption graph" align="center">Graphs</p>
          <p align="center">
            <img src="{@externalImage}" alt="Graphs">
              <xsl:if test="@imageWidth">
                <xsl:attribute name="width"><xsl:value-of select="@imageWidth"/></xsl:attribute>
                <xsl:attribute name="height"><xsl:value-of select="@imageHeight"/></xsl:attribute>
              </xsl:if>
            </img>
          </p>
        </xsl:if>
      </body>
    </html>
  </xsl:template>

  <xsl:template match="patient">
    <table class="data" width="100%" cellspacing="0">
      <tr>
        <th class="patient" colspan="2" align="left">Patient parameter</th>
        <th class="patient" align="right">Flows</th>
      </tr>
      <tr>
        <td class="name">Weight</td>
        <td class="num"><xsl:value-of select="format-number(weight/@value, '#0.##')"/>
          <xsl:text> </xsl:text><xsl:value-of select="weight/@unit"/></td>
        <td></td>
      </tr>
      <tr>
        <td class="name">Vessel-rich</td>
        <td class="num"><xsl:value-of select="format-number(volumes/@vrg, '#0.##')"/> L</td>
        <td class="num"><xsl:value-of select="format-number(flows/@vrg, '##%')"/></td>
      </tr>
      <tr>
        <td class="name">Muscle</td>
        <td class="num"><xsl:value-of select="format-number(volumes/@mus, '#0.##')"/> L</td>
        <td class="num"><xsl:value-of select="format-number(flows/@mus, '##%')"/></td>
      </tr>
      <tr>
        <td class="name">Fat</td>
        <td class="num"><xsl:value-of select="format-number(volumes/@fat, '#0.##')"/> L</td>
        <td class="num"><xsl:value-of select="format-number(flows/@fat, '##%')"/></td>
      </tr>
      <tr>
        <td class="name">Alveoli</td>
        <td class="num"><xsl:value-of select="format-number(volumes/@alv, '#0.##')"/> L</td>
        <td></td>
      </tr>
      <tr>
        <td class="name">Venous</td>
        <td class="num"><xsl:value-of select="format-number(volumes/@ven, '#0.##')"/> L</td>
        <td></td>
      </tr>
    </table>
  </xsl:template>

  <xsl:template match="agents">
    <table class="data" width="100%" cellspacing="0">
      <tr>
        <th class="agent" rowspan="2" align="left">Anesthetic(s)</th>
        <th class="agent" colspan="3">Solubility</th>
        <th class="agent" rowspan="2" align="right">Volatility</th>
      </tr>
      <tr>
        <th class="agent" align="right">Blood</th>
        <th class="agent" align="right">VRG</th>
        <th class="agent" align="right">Fat</th>
      </tr>
      <xsl:for-each select="agent">
        <tr>
          <td class="name"><xsl:value-of select="@name"/></td>
          <td class="num"><xsl:value-of select="format-number(@lambdaBlood, '#0.##')"/></td>
          <td class="num"><xsl:value-of select="format-number(@lambdaVrg, '#0.##')"/></td>
          <td class="num"><xsl:value-of select="format-number(@lambdaFat, '##0.##')"/></td>
          <td class="num"><xsl:value-of select="@volatility"/></td>
        </tr>
      </xsl:for-each>
    </table>
  </xsl:template>

  <xsl:template match="settings">
    <p class="caption">Printout</p>
    <table class="data printout" width="100%" cellspacing="0">
      <tr>
        <th class="printout" align="left">Time</th>
        <th class="printout" align="left">Agent</th>
        <th class="printout" align="right">Vaporizer (%atm)</th>
        <th class="printout" align="right">Injected</th>
        <th class="printout" align="left">Circuit</th>
        <th class="printout" align="right">Fresh Gas (L/m)</th>
        <th class="printout" align="right">Alveolar Ventil'n (L/m)</th>
        <th class="printout" align="right">Cardiac Output (L/m)</th>
      </tr>
      <xsl:for-each select="setting">
        <tr>
          <td class="setting"><xsl:value-of select="@time"/></td>
          <td class="setting"></td>
          <td class="setting"></td>
          <td class="setting"></td>
          <td class="setting"><xsl:value-of select="@circuit"/></td>
          <td class="setting" align="right"><xsl:value-of select="format-number(@fgf, '##0.##')"/></td>
          <td class="setting" align="right"><xsl:value-of select="format-number(@va, '##0.##')"/></td>
          <td class="setting" align="right"><xsl:value-of select="format-number(@co, '##0.##')"/></td>
        </tr>
        <xsl:for-each select="agentsettings/agentsetting">
          <tr>
            <td></td>
            <td><xsl:value-of select="@agentname"/></td>
            <td class="num"><xsl:value-of select="format-number(@del, '##0.##')"/></td>
            <td class="num"><xsl:value-of select="format-number(@inject, '##0.00')"/></td>
            <td></td>
            <td></td>
            <td></td>
            <td></td>
          </tr>
        </xsl:for-each>
      </xsl:for-each>
    </table>
  </xsl:template>
  <xsl:template match="gasused">
    <p class="caption">Gas used</p>
    <table class="data gasused" width="100%" cellspacing="0">
      <tr>
        <th class="agent" align="left">Agent</th>
        <th class="agent" align="right">Liquid<br/>(mL)</th>
        <th class="agent" align="right">Vapour<br/>(L)</th>
        <th class="agent" align="right">Cost</th>
        <th class="agent" align="right">CO2e<br/>(kg)</th>
        <th class="agent" align="right">GWP100</th>
      </tr>
      <xsl:for-each select="agentgas">
        <tr>
          <td class="name"><xsl:value-of select="@name"/></td>
          <td class="num"><xsl:call-template name="known"><xsl:with-param name="value" select="@liquid"/><xsl:with-param name="format" select="'#,##0.0'"/></xsl:call-template></td>
          <td class="num"><xsl:call-template name="known"><xsl:with-param name="value" select="@vapour"/><xsl:with-param name="format" select="'#,##0.00'"/></xsl:call-template></td>
          <td class="num"><xsl:call-template name="known"><xsl:with-param name="value" select="@cost"/><xsl:with-param name="format" select="'#,##0.00'"/></xsl:call-template></td>
          <td class="num"><xsl:call-template name="known"><xsl:with-param name="value" select="@co2e"/><xsl:with-param name="format" select="'#,##0.000'"/></xsl:call-template></td>
          <td class="num"><xsl:call-template name="known"><xsl:with-param name="value" select="@gwp100"/><xsl:with-param name="format" select="'0.#'"/></xsl:call-template></td>
        </tr>
      </xsl:for-each>
    </table>
    <p class="note">From 00:00:00 to <xsl:value-of select="@time"/>. CO2e: the mass of the vapour (at 20 °C and 1 atm) times its global warming potential over 100 years (GWP100, carbon dioxide = 1). A dash: the agent table lacks what the value needs.</p>
    <!-- Where the warming potentials come from: one line per source. -->
    <xsl:for-each select="agentgas[@gwpSource != ''][not(@gwpSource = preceding-sibling::agentgas/@gwpSource)]">
      <xsl:variable name="source" select="@gwpSource"/>
      <p class="note source">GWP100 of <xsl:for-each select="../agentgas[@gwpSource = $source]"><xsl:value-of select="@name"/><xsl:if test="position() != last()">, </xsl:if></xsl:for-each>: <xsl:value-of select="$source"/>.</p>
    </xsl:for-each>
  </xsl:template>

  <!-- A value the agent table cannot give is missing from the export and
       reads as a dash, never as 0. -->
  <xsl:template name="known">
    <xsl:param name="value"/>
    <xsl:param name="format"/>
    <xsl:choose>
      <xsl:when test="string($value) != ''"><xsl:value-of select="format-number($value, $format)"/></xsl:when>
      <xsl:otherwise>&#8211;</xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <xsl:template match="forecast">
    <p class="caption">Wake-up forecast from <xsl:value-of select="@time"/>, the fresh gas flow held at <xsl:value-of select="@fgf"/> L/min</p>
    <table class="data forecast" cellspacing="0">
      <tr>
        <th class="agent" align="left">Agent</th>
        <th class="agent" align="right">50 % (min)</th>
        <th class="agent" align="right">80 % (min)</th>
        <th class="agent" align="right">90 % (min)</th>
      </tr>
      <xsl:for-each select="agentforecast">
        <tr>
          <td class="name"><xsl:value-of select="@name"/></td>
          <td class="num"><xsl:call-template name="decrement"><xsl:with-param name="value" select="@t50"/></xsl:call-template></td>
          <td class="num"><xsl:call-template name="decrement"><xsl:with-param name="value" select="@t80"/></xsl:call-template></td>
          <td class="num"><xsl:call-template name="decrement"><xsl:with-param name="value" select="@t90"/></xsl:call-template></td>
        </tr>
      </xsl:for-each>
    </table>
    <p class="note">Minutes until the partial pressure of each agent in the vessel-rich group (the brain) falls by 50, 80 and 90 % if every vaporizer is turned off at the time shown and every other setting, the fresh gas flow included, is held as it was then. Raising the flow at wake-up, as clinicians do, washes the agent out faster: the program's Wake-up Forecast window shows both. The times come from this model and its settings, not from patients: they show how solubility and the length of the anaesthetic shape the recovery, not when a particular patient wakes.</p>
  </xsl:template>

  <!-- A level not reached before the simulation's limit reads "more than" the
       minutes that were left. -->
  <xsl:template name="decrement">
    <xsl:param name="value"/>
    <xsl:choose>
      <xsl:when test="string($value) != ''"><xsl:value-of select="$value"/></xsl:when>
      <xsl:otherwise>more than <xsl:value-of select="@remaining"/></xsl:otherwise>
    </xsl:choose>
  </xsl:template>
</xsl:stylesheet>
